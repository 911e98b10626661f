// Image files held in memory, behind the same seam as the system's: for tests of the
// loading that count its reads, make a read fail or slow, or state sizes no test could
// write to disk.
#ifndef PRECHECK_TESTS_SUPPORT_MEMORY_IMAGE_FILES_H_
#define PRECHECK_TESTS_SUPPORT_MEMORY_IMAGE_FILES_H_

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/platform.h"

struct MemoryFile {
  std::string bytes;
  // The size the file states; bytes past `bytes` read as zeros. 0: the size of `bytes`.
  std::uint64_t statedSize = 0;
  // Reads from this one on (counted from 1) fail, as on a disk error.
  int failFromRead = 0;
  platform::OpenFailure openFailure = platform::OpenFailure::none;
  // Called as the file is opened: a test throws from it what a worker may meet.
  std::function<void()> onOpen = nullptr;
  // Its reads never return, as on a share that holds a request. Whoever reads it must
  // outlive the run: the files object of such a test is never destroyed.
  bool neverAnswers = false;
};

class MemoryImageFiles final : public platform::ImageFiles {
 public:
  void add(const std::string& path, MemoryFile file) { files_[path] = std::move(file); }
  const std::string& bytesOf(const std::string& path) const { return files_.at(path).bytes; }

  platform::OpenedImage open(const std::string& path, const platform::NativePath&) override {
    platform::OpenedImage opened;
    auto found = files_.find(path);
    if (found == files_.end()) {
      opened.failure = platform::OpenFailure::missing;
    } else if (found->second.openFailure != platform::OpenFailure::none) {
      opened.failure = found->second.openFailure;
    } else {
      if (found->second.onOpen) found->second.onOpen();
      ++opens;
      opened.file = std::make_unique<Open>(*this, found->second);
    }
    return opened;
  }

  // Every read waits this long, as on a share.
  std::chrono::microseconds readDelay{0};
  std::atomic<int> opens{0};
  std::atomic<int> reads{0};
  std::atomic<std::uint64_t> bytesRead{0};
  std::atomic<int> inOrderHints{0};

 private:
  class Open final : public platform::ImageFile {
   public:
    Open(MemoryImageFiles& files, const MemoryFile& file) : files_(files), file_(file) {}
    std::uint64_t size() const override {
      return file_.statedSize != 0 ? file_.statedSize : file_.bytes.size();
    }
    bool readAt(std::uint64_t offset, std::size_t length, unsigned char* destination) override {
      ++readsOfThisFile_;
      ++files_.reads;
      if (files_.readDelay.count() > 0) std::this_thread::sleep_for(files_.readDelay);
      if (file_.neverAnswers) {
        std::unique_lock<std::mutex> lock(files_.neverMutex_);
        files_.never_.wait(lock, [] { return false; });
      }
      if (file_.failFromRead != 0 && readsOfThisFile_ >= file_.failFromRead) return false;
      if (offset > size() || length > size() - offset) return false;
      files_.bytesRead += length;
      std::memset(destination, 0, length);
      if (offset < file_.bytes.size()) {
        const std::size_t held =
            std::min<std::size_t>(length, file_.bytes.size() - static_cast<std::size_t>(offset));
        std::memcpy(destination, file_.bytes.data() + offset, held);
      }
      return true;
    }

    void readOnInOrder() override { ++files_.inOrderHints; }

   private:
    MemoryImageFiles& files_;
    const MemoryFile& file_;
    int readsOfThisFile_ = 0;
  };

  std::map<std::string, MemoryFile> files_;
  std::mutex neverMutex_;
  std::condition_variable never_;
};

#endif  // PRECHECK_TESTS_SUPPORT_MEMORY_IMAGE_FILES_H_
