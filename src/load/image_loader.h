// Reads the images of a run once each, with a pool of workers that run ahead of the
// checks. The checks take the records in list order and print as they go, so the
// transcript stays in order and live while the reads overlap: on a share where each
// request waits, many files are in flight at once; on a local disk its queue is kept
// full. Workers stay at most a window of records ahead of the checks.
#ifndef PRECHECK_LOAD_IMAGE_LOADER_H_
#define PRECHECK_LOAD_IMAGE_LOADER_H_

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "load/image_records.h"
#include "platform/platform.h"
#include "scan/image_list.h"

// Enough reads in flight to hide a share's latency and keep a disk's queue busy, while
// each worker holds one file open at a time.
constexpr unsigned kDefaultLoadWorkers = 32;

class ImageLoader final : public ImageRecords {
 public:
  // Told once per image and run, on the checks' thread, in list order, of each image
  // that could not be read.
  using SkipNotice = std::function<void(const std::string& path, SkipReason reason)>;

  // Reads nothing until the first record is asked for. With no worker, or none that
  // the system lets start, each image is read when its record is asked for. Records
  // keep their details when `keepDetails` is set.
  ImageLoader(const ScannedImages& images, platform::ImageFiles& files, unsigned workers,
              SkipNotice notice = nullptr, bool keepDetails = false);
  ~ImageLoader() override;
  ImageLoader(const ImageLoader&) = delete;
  ImageLoader& operator=(const ImageLoader&) = delete;

  std::size_t size() const override { return images_.paths.size(); }
  const std::string& path(std::size_t index) const override { return images_.paths[index]; }
  const ImageRecord& record(std::size_t index) override;
  bool readWholeMake(std::size_t index,
                     const std::function<void(std::string_view)>& take) override;

 private:
  void start();
  void work();

  const ScannedImages& images_;
  platform::ImageFiles& files_;
  const unsigned workerCount_;
  const bool keepDetails_;
  const std::size_t window_;
  SkipNotice notice_;
  std::vector<ImageRecord> records_;
  std::size_t handedOver_ = 0;  // records handed to the checks at least once
  bool started_ = false;

  std::mutex mutex_;
  std::condition_variable loaded_;  // a worker stored a record
  std::condition_variable room_;    // the checks moved on, or the run ends
  std::vector<bool> done_;
  std::size_t next_ = 0;    // the next image a worker takes
  std::size_t wanted_ = 0;  // one past the furthest record asked for
  static constexpr std::size_t kNothingAwaited = static_cast<std::size_t>(-1);
  std::size_t awaited_ = kNothingAwaited;  // the record the checks wait for
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

#endif  // PRECHECK_LOAD_IMAGE_LOADER_H_
