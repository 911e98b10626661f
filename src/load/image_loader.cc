#include "load/image_loader.h"

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <utility>

#include "load/load_image.h"

namespace {

// Records a worker may read ahead of the checks, per worker.
constexpr std::size_t kWindowPerWorker = 8;
// Workers that ran the window full sleep until a quarter of it is free again: waking
// them for every record the checks take would cost more than reading the image.
constexpr std::size_t kRefillParts = 4;

}  // namespace

ImageLoader::ImageLoader(const ScannedImages& images, platform::ImageFiles& files,
                         unsigned workers, SkipNotice notice, bool keepDetails)
    : images_(images),
      files_(files),
      workerCount_(workers),
      keepDetails_(keepDetails),
      window_(kWindowPerWorker * (workers > 0 ? workers : 1)),
      notice_(std::move(notice)),
      records_(images.paths.size()),
      done_(images.paths.size(), false) {}

ImageLoader::~ImageLoader() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  room_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void ImageLoader::start() {
  started_ = true;
  // The one place where the standard library's thread errors are caught: a system
  // that refuses more threads gets the run done with those it gave.
  try {
    for (unsigned i = 0; i < workerCount_; ++i) workers_.emplace_back(&ImageLoader::work, this);
  } catch (const std::system_error&) {
  }
}

void ImageLoader::work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    room_.wait(lock, [this] {
      return stopping_ || next_ >= records_.size() || next_ < wanted_ + window_;
    });
    if (stopping_ || next_ >= records_.size()) return;
    const std::size_t index = next_++;
    lock.unlock();
    ImageRecord record =
        loadImage(files_, images_.paths[index], images_.native[index], keepDetails_);
    lock.lock();
    records_[index] = std::move(record);
    done_[index] = true;
    // Only the checks' thread waits for records, and only for the one it asked for.
    if (index == awaited_) loaded_.notify_one();
  }
}

bool ImageLoader::readWholeMake(std::size_t index,
                                const std::function<void(std::string_view)>& take) {
  const CameraMake make = record(index).make;
  platform::OpenedImage opened = files_.open(images_.paths[index], images_.native[index]);
  if (opened.file == nullptr) return false;
  constexpr std::uint64_t kPiece = 64 * 1024;
  std::string piece;
  for (std::uint64_t done = 0; done < make.length; done += piece.size()) {
    piece.resize(static_cast<std::size_t>(std::min(kPiece, make.length - done)));
    if (!opened.file->readAt(make.at + done, piece.size(),
                             reinterpret_cast<unsigned char*>(piece.data()))) {
      return false;
    }
    take(piece);
  }
  return true;
}

const ImageRecord& ImageLoader::record(std::size_t index) {
  // A record handed over once is complete and no worker touches it again.
  if (index < handedOver_) return records_[index];
  if (!started_) start();
  {
    std::unique_lock<std::mutex> lock(mutex_);
    if (index >= wanted_) {
      wanted_ = index + 1;
      if (next_ + window_ / kRefillParts <= wanted_ + window_) room_.notify_all();
    }
    if (workers_.empty() && !done_[index]) {
      records_[index] =
          loadImage(files_, images_.paths[index], images_.native[index], keepDetails_);
      done_[index] = true;
    }
    if (!done_[index]) {
      awaited_ = index;
      room_.notify_all();  // whatever the window: the checks wait
      loaded_.wait(lock, [&] { return done_[index]; });
      awaited_ = kNothingAwaited;
    }
  }
  const ImageRecord& record = records_[index];
  if (index == handedOver_) {
    ++handedOver_;
    if (!record.read() && notice_) notice_(images_.paths[index], record.skipped);
  }
  return record;
}
