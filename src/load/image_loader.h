// Reads the images of a run once each, with a pool of workers that run ahead of the
// checks. The checks take the records in list order and print as they go, so the
// transcript stays in order and live while the reads overlap: on a share where each
// request waits, many files are in flight at once; on a local disk its queue is kept
// full. Workers stay at most a window of records ahead of the checks.
//
// The pool starts with two workers per core: from the page cache a read is a copy that
// takes microseconds, and threads beyond the cores only take turns. While the checks
// wait for a record and the workers' calls take longer than such a copy, the reads wait
// on a disk or a share, and the pool doubles, up to its most: more requests in flight
// shorten the wait.
//
// A file-system call that gets no answer within the read time limit (a share that
// holds one read, a file offline on cloud storage) costs its image, not the run: the
// image is skipped, its worker is left behind and another takes its place. Nothing
// waits for a worker left behind, at the end of the run either; what it touches is
// shared with it, so it may come back at any time, or never.
#ifndef PRECHECK_LOAD_IMAGE_LOADER_H_
#define PRECHECK_LOAD_IMAGE_LOADER_H_

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "load/file_bytes.h"
#include "load/image_records.h"
#include "platform/platform.h"
#include "scan/image_list.h"

// The most workers: enough reads in flight to hide a share's latency and keep a disk's
// queue busy, while each worker holds one file open at a time.
constexpr unsigned kDefaultLoadWorkers = 32;

// Long enough for a share that is only slow, or a disk that spins up.
constexpr std::chrono::seconds kDefaultReadTimeout{60};

// An open or a read from the page cache takes under ten microseconds on average; one
// that waits on a disk takes tens of microseconds or more, on a share milliseconds.
constexpr std::chrono::microseconds kSlowCall{30};

// Two per core.
unsigned defaultFirstWorkers();

struct LoaderOptions {
  // With no worker, or none that the system lets start, each image is read when its
  // record is asked for, on the asking thread and without a time limit.
  unsigned workers = kDefaultLoadWorkers;
  // How many start at once; the others only while reads wait (above).
  unsigned firstWorkers = defaultFirstWorkers();
  // The average call above which reads wait on the files.
  std::chrono::microseconds slowCall = kSlowCall;
  // Whether records keep their details, the survey's values and the frame size, which
  // the checks alone do not need (see loadImage).
  bool keepDetails = false;
  // How long one open or read of a worker may go without an answer; zero: for ever.
  std::chrono::milliseconds readTimeout{kDefaultReadTimeout};
  // Called on the checks' thread before it may wait for the file system: before the
  // first read, and whenever the record it asks for is not there yet.
  std::function<void()> beforeWaiting;
};

struct LoaderShared;
struct WorkerSlot;

class ImageLoader final : public ImageRecords {
 public:
  // Told once per image and run, on the checks' thread, in list order, of each image
  // that could not be read.
  using SkipNotice = std::function<void(const std::string& path, SkipReason reason)>;

  // Reads nothing until the first record is asked for. `images` and `files` outlive
  // the loader; `files` also outlives a worker left behind (the system's files do).
  ImageLoader(const ScannedImages& images, platform::ImageFiles& files,
              const LoaderOptions& options, SkipNotice notice = nullptr);
  ~ImageLoader() override;
  ImageLoader(const ImageLoader&) = delete;
  ImageLoader& operator=(const ImageLoader&) = delete;

  std::size_t size() const override { return images_.paths.size(); }
  const std::string& path(std::size_t index) const override { return images_.paths[index]; }
  // Rethrows, on the checks' thread, what a worker could not handle (the standard
  // library's exceptions, an allocation outside an image's own parse), so that the run
  // ends as it would have without workers.
  const ImageRecord& record(std::size_t index) override;
  bool readWholeMake(std::size_t index,
                     const std::function<void(std::string_view)>& take) override;

  // Workers started so far, those left behind included.
  std::size_t workersStarted() const { return workersStarted_; }

 private:
  struct Worker {
    WorkerSlot* slot;  // owned by the shared state
    std::thread thread;
  };

  void start();
  // These three with the shared mutex held.
  bool startWorker();
  void leaveBehind(Worker& reader, std::size_t index);
  void growIfReadsWait(std::chrono::steady_clock::time_point now);
  bool mayGrow() const { return mayGrow_ && workers_.size() < options_.workers; }
  const ImageRecord& waitFor(std::size_t index);

  // Belong to the checks' thread: only it reads or writes them.
  const ScannedImages& images_;
  const LoaderOptions options_;
  SkipNotice notice_;
  std::size_t handedOver_ = 0;  // records handed to the checks at least once
  ReadPieces serialPieces_;     // for the images read on this thread
  bool started_ = false;
  std::vector<Worker> workers_;  // those not left behind
  std::size_t workersStarted_ = 0;
  bool mayGrow_ = true;  // false once the system refused a thread
  // The workers' calls finished, and their time, when the pool last looked.
  std::chrono::steady_clock::time_point lookedAt_;
  std::int64_t callsThen_ = 0;
  std::int64_t ticksThen_ = 0;

  // What the workers share with the checks, and keep while one of them is left behind.
  const std::shared_ptr<LoaderShared> shared_;
};

#endif  // PRECHECK_LOAD_IMAGE_LOADER_H_
