#include "load/image_loader.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <system_error>
#include <utility>

#include "common/thread_annotations.h"
#include "load/load_image.h"
#include "platform/large_array.h"

namespace {

// Records a worker may read ahead of the checks, per worker.
constexpr std::size_t kWindowPerWorker = 8;
// Workers that ran the window full sleep until a quarter of it is free again: waking
// them for every record the checks take would cost more than reading the image.
constexpr std::size_t kRefillParts = 4;
constexpr std::size_t kNoImage = static_cast<std::size_t>(-1);
// How often the checks, while they wait, look at how long the workers' calls took.
constexpr std::chrono::milliseconds kLookPeriod{2};

using Clock = std::chrono::steady_clock;

std::int64_t ticksNow() {
  // Never 0, which means "no call".
  return std::max<std::int64_t>(1, Clock::now().time_since_epoch().count());
}

// A worker's file-system calls as the checks see them; written by the worker alone.
struct CallTimes {
  std::atomic<std::int64_t> since{0};     // when its call under way began; 0: none
  std::atomic<std::int64_t> finished{0};  // calls it finished
  std::atomic<std::int64_t> ticks{0};     // the time they took
};

// Marks the time a file-system call of a worker began, for as long as it lasts, and
// counts it when it ends.
class CallUnderWay {
 public:
  explicit CallUnderWay(CallTimes& times) : times_(times) { times_.since.store(ticksNow()); }
  ~CallUnderWay() {
    const std::int64_t took = ticksNow() - times_.since.load(std::memory_order_relaxed);
    // One writer: no read-modify-write needed.
    times_.ticks.store(times_.ticks.load(std::memory_order_relaxed) + took,
                       std::memory_order_relaxed);
    times_.finished.store(times_.finished.load(std::memory_order_relaxed) + 1,
                          std::memory_order_relaxed);
    times_.since.store(0);
  }
  CallUnderWay(const CallUnderWay&) = delete;
  CallUnderWay& operator=(const CallUnderWay&) = delete;

 private:
  CallTimes& times_;
};

// A file as a worker reads it: each call marks its worker busy while it lasts. The
// close is a call too: on a share it is a request that may not be answered.
class WatchedFile final : public platform::ImageFile {
 public:
  WatchedFile(std::unique_ptr<platform::ImageFile> file, CallTimes& times)
      : file_(std::move(file)), times_(times) {}
  ~WatchedFile() override {
    const CallUnderWay call(times_);
    file_.reset();
  }
  WatchedFile(const WatchedFile&) = delete;
  WatchedFile& operator=(const WatchedFile&) = delete;

  std::uint64_t size() const override { return file_->size(); }
  bool readAt(std::uint64_t offset, std::size_t length, unsigned char* destination) override {
    const CallUnderWay call(times_);
    return file_->readAt(offset, length, destination);
  }
  // Advice, answered at once.
  void readOnInOrder() override { file_->readOnInOrder(); }

 private:
  std::unique_ptr<platform::ImageFile> file_;
  CallTimes& times_;
};

class WatchedFiles final : public platform::ImageFiles {
 public:
  WatchedFiles(platform::ImageFiles& files, CallTimes& times) : files_(files), times_(times) {}

  platform::OpenedImage open(const std::string& path,
                             const platform::NativePath& native) override {
    platform::OpenedImage opened;
    {
      const CallUnderWay call(times_);
      opened = files_.open(path, native);
    }
    if (opened.file != nullptr) {
      opened.file = std::make_unique<WatchedFile>(std::move(opened.file), times_);
    }
    return opened;
  }

 private:
  platform::ImageFiles& files_;
  CallTimes& times_;
};

}  // namespace

// One worker's state.
struct WorkerSlot {
  CallTimes calls;
  std::size_t image = kNoImage;  // the image it reads (guarded by the mutex)
  bool leftBehind = false;       // its image was skipped (guarded by the mutex)
};

// The details of every image in one array, when they are kept, so that a run does not
// allocate them one by one; records point into it. Apart from the records, which keep
// it alive as long as any of them is.
using DetailsStore = std::vector<ImageDetails, platform::LargeArrayAllocator<ImageDetails>>;

struct LoaderShared {
  LoaderShared(const ScannedImages& scanned, platform::ImageFiles& imageFiles,
               const LoaderOptions& options)
      : images(&scanned),
        files(imageFiles),
        window(kWindowPerWorker * (options.workers > 0 ? options.workers : 1)),
        records(scanned.paths.size()),
        details(options.keepDetails ? std::make_shared<DetailsStore>(scanned.paths.size())
                                    : nullptr),
        done(scanned.paths.size(), false) {}

  // Read by workers only while the loader lives: a worker copies what it needs before
  // the calls that may leave it behind.
  const ScannedImages* const images;
  platform::ImageFiles& files;
  const std::size_t window;

  std::mutex mutex;
  std::condition_variable loaded;  // a worker stored a record, or failed
  std::condition_variable room;    // the checks moved on, or the run ends
  // Written under the mutex until handed over; after that read by the checks alone.
  std::vector<ImageRecord, platform::LargeArrayAllocator<ImageRecord>> records;
  // Each place written only by the one thread that reads its image.
  const std::shared_ptr<DetailsStore> details;
  std::vector<bool> done GUARDED_BY(mutex);
  std::vector<std::unique_ptr<WorkerSlot>> slots GUARDED_BY(mutex);
  std::size_t next GUARDED_BY(mutex) = 0;    // the next image a worker takes
  std::size_t wanted GUARDED_BY(mutex) = 0;  // one past the furthest record asked for
  std::size_t awaited GUARDED_BY(mutex) = kNoImage;  // the record the checks wait for
  bool stopping GUARDED_BY(mutex) = false;
  // What a worker could not handle, for the checks' thread to rethrow.
  std::exception_ptr failure GUARDED_BY(mutex);
};

namespace {

// Reads image `index`, on a worker or on the checks' thread, its details (when they are
// kept) into their place in the loader's array.
ImageRecord loadAt(const LoaderShared& shared, platform::ImageFiles& files,
                   const std::string& path, const platform::NativePath& native,
                   ReadPieces& pieces, std::size_t index) {
  if (shared.details == nullptr) return loadImage(files, path, native, false, &pieces);
  return loadImage(files, path, native, true, &pieces,
                   std::shared_ptr<ImageDetails>(shared.details, &(*shared.details)[index]));
}

void workOn(LoaderShared& shared, WorkerSlot& slot) {
  WatchedFiles files(shared.files, slot.calls);
  ReadPieces pieces;
  std::unique_lock<std::mutex> lock(shared.mutex);
  for (;;) {
    shared.room.wait(lock, [&] {
      return slot.leftBehind || shared.stopping || shared.next >= shared.records.size() ||
             shared.next < shared.wanted + shared.window;
    });
    if (slot.leftBehind || shared.stopping || shared.next >= shared.records.size()) return;
    const std::size_t index = shared.next++;
    slot.image = index;
    const std::string path = shared.images->paths[index];
    const platform::NativePath native = shared.images->native[index];
    lock.unlock();
    ImageRecord record = loadAt(shared, files, path, native, pieces, index);
    lock.lock();
    slot.image = kNoImage;
    // Its image was skipped while it waited for an answer; the checks went on.
    if (slot.leftBehind) return;
    shared.records[index] = std::move(record);
    shared.done[index] = true;
    // Only the checks' thread waits for records, and only for the one it asked for.
    if (index == shared.awaited) shared.loaded.notify_one();
  }
}

// Whatever a worker cannot handle goes to the checks' thread: an exception escaping a
// thread would end the process through std::terminate, without a word.
void work(const std::shared_ptr<LoaderShared>& shared, WorkerSlot* slot) {
  try {
    workOn(*shared, *slot);
  } catch (...) {
    const std::lock_guard<std::mutex> lock(shared->mutex);
    if (!slot->leftBehind && !shared->failure) shared->failure = std::current_exception();
    shared->loaded.notify_one();
  }
}

}  // namespace

unsigned defaultFirstWorkers() { return 2 * std::max(1u, std::thread::hardware_concurrency()); }

ImageLoader::ImageLoader(const ScannedImages& images, platform::ImageFiles& files,
                         const LoaderOptions& options, SkipNotice notice)
    : images_(images),
      options_(options),
      notice_(std::move(notice)),
      shared_(std::make_shared<LoaderShared>(images, files, options)) {}

ImageLoader::~ImageLoader() {
  {
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->stopping = true;
  }
  shared_->room.notify_all();
  for (Worker& worker : workers_) worker.thread.join();
}

bool ImageLoader::startWorker() {
  // The one place where the standard library's thread errors are caught: a system
  // that refuses more threads gets the run done with those it gave.
  try {
    std::shared_ptr<LoaderShared> shared = shared_;
    WorkerSlot* slot = shared->slots.emplace_back(std::make_unique<WorkerSlot>()).get();
    workers_.push_back(Worker{slot, std::thread(work, std::move(shared), slot)});
    ++workersStarted_;
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

void ImageLoader::start() {
  started_ = true;
  const std::lock_guard<std::mutex> lock(shared_->mutex);
  lookedAt_ = Clock::now();
  const unsigned first = std::min(options_.workers, std::max(1u, options_.firstWorkers));
  for (unsigned i = 0; i < first; ++i) {
    if (!startWorker()) {
      mayGrow_ = false;
      break;
    }
  }
}

bool ImageLoader::readWholeMake(std::size_t index,
                                const std::function<void(std::string_view)>& take) {
  const CameraMake make = record(index).make;
  if (options_.beforeWaiting) options_.beforeWaiting();
  platform::OpenedImage opened = shared_->files.open(images_.paths[index], images_.native[index]);
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

void ImageLoader::leaveBehind(Worker& reader, std::size_t index) {
  LoaderShared& shared = *shared_;
  reader.slot->leftBehind = true;
  ImageRecord skipped;
  skipped.skipped = SkipReason::noAnswer;
  shared.records[index] = std::move(skipped);
  shared.done[index] = true;
  // Nothing waits for it, at the end of the run either: it holds what it touches.
  reader.thread.detach();
  workers_.erase(workers_.begin() + (&reader - workers_.data()));
  // When no other can start, the images left are read on this thread.
  if (!startWorker()) mayGrow_ = false;
}

// Called while the checks wait. The average of the calls that ended since the last look
// tells reads from the page cache from reads that wait on a disk or a share; only these
// go faster with more of them in flight.
void ImageLoader::growIfReadsWait(Clock::time_point now) {
  if (now - lookedAt_ < kLookPeriod) return;
  std::int64_t calls = 0;
  std::int64_t ticks = 0;
  for (const std::unique_ptr<WorkerSlot>& slot : shared_->slots) {
    calls += slot->calls.finished.load(std::memory_order_relaxed);
    ticks += slot->calls.ticks.load(std::memory_order_relaxed);
  }
  const std::int64_t ended = calls - callsThen_;
  const std::int64_t took = ticks - ticksThen_;
  lookedAt_ = now;
  callsThen_ = calls;
  ticksThen_ = ticks;
  const std::int64_t slow = std::chrono::duration_cast<Clock::duration>(options_.slowCall).count();
  if (ended == 0 || took < slow * ended) return;
  for (std::size_t more = workers_.size(); more > 0 && mayGrow(); --more) {
    if (!startWorker()) mayGrow_ = false;
  }
}

const ImageRecord& ImageLoader::waitFor(std::size_t index) {
  LoaderShared& shared = *shared_;
  std::unique_lock<std::mutex> lock(shared.mutex);
  if (index >= shared.wanted) {
    shared.wanted = index + 1;
    if (shared.next + shared.window / kRefillParts <= shared.wanted + shared.window) {
      shared.room.notify_all();
    }
  }
  if (!shared.done[index] && options_.beforeWaiting) {
    lock.unlock();  // the hook may block on a full pipe; the workers go on meanwhile
    options_.beforeWaiting();
    lock.lock();
  }
  if (workers_.empty() && !shared.done[index]) {
    lock.unlock();
    ImageRecord record = loadAt(shared, shared.files, images_.paths[index],
                                images_.native[index], serialPieces_, index);
    lock.lock();
    shared.records[index] = std::move(record);
    shared.done[index] = true;
  }
  const auto limit = options_.readTimeout;
  while (!shared.done[index] && !shared.failure) {
    shared.awaited = index;
    shared.room.notify_all();  // whatever the window: the checks wait
    const Clock::time_point now = Clock::now();
    if (mayGrow()) growIfReadsWait(now);
    Worker* reader = nullptr;
    for (Worker& worker : workers_) {
      if (worker.slot->image == index) reader = &worker;
    }
    const std::int64_t since = reader != nullptr ? reader->slot->calls.since.load() : 0;
    // When to look again: at the read's time limit, and while the pool may grow, at the
    // next look at the calls.
    Clock::time_point wake = Clock::time_point::max();
    if (limit.count() != 0 && since == 0) {
      // Not taken yet, or between two calls: look again when a call may have begun.
      wake = now + limit;
    } else if (limit.count() != 0) {
      const Clock::time_point deadline = Clock::time_point(Clock::duration(since)) + limit;
      if (now >= deadline) {
        leaveBehind(*reader, index);
        continue;
      }
      wake = deadline;
    }
    if (mayGrow()) wake = std::min(wake, lookedAt_ + kLookPeriod);
    if (wake == Clock::time_point::max()) {
      shared.loaded.wait(lock);
    } else {
      shared.loaded.wait_until(lock, wake);
    }
  }
  shared.awaited = kNoImage;
  if (shared.failure) std::rethrow_exception(shared.failure);
  return shared.records[index];
}

const ImageRecord& ImageLoader::record(std::size_t index) {
  // A record handed over once is complete and no worker touches it again.
  if (index < handedOver_) return shared_->records[index];
  if (!started_) {
    if (options_.beforeWaiting) options_.beforeWaiting();
    start();
  }
  const ImageRecord& record = waitFor(index);
  if (index == handedOver_) {
    ++handedOver_;
    if (!record.read() && notice_) notice_(images_.paths[index], record.skipped);
  }
  return record;
}
