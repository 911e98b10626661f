// Faults of the disk and the file system around a run: the report cannot be created,
// the disk fills while it is written, files vanish or shrink after the scan, the
// configuration cannot be read. Each run must end with a verdict and leave either
// the new error.json whole or the earlier one untouched, and no temporary file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/fanotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <functional>
#include <map>
#include <thread>

#include "batch_run.h"
#include "common/messages.h"
#include "jpeg_builder.h"

namespace {

namespace fs = std::filesystem;

// Everything below `folder`, with the bytes of the files, for proving that a failed
// run changed nothing there and left nothing behind. Links are not followed.
std::map<std::string, std::string> contentsOf(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    const std::string relative = fs::relative(item.path(), folder).string();
    switch (item.symlink_status().type()) {
      case fs::file_type::regular: contents[relative] = readFileBytes(item.path().string()); break;
      case fs::file_type::directory: contents[relative] = "<folder>"; break;
      default: contents[relative] = "<other>"; break;
    }
  }
  return contents;
}

const std::string kEarlierReport = reportOf({entry(104, messages::kNoGps, {"earlier.jpg"})});

std::string notWritten() {
  return line(messages::kReportNotWritten + std::string("check/error.json"));
}

TEST(Faults, ReportThatCannotBeCreatedIsSaidInOneLineAndLeavesNothing) {
  struct Case {
    const char* name;
    void (*prepare)(const TempFolder&);
  };
  const Case cases[] = {
      {"a file where the output folder should be",
       [](const TempFolder& f) { f.writeFile("check", "a file, not a folder"); }},
      {"a folder where error.json should be",
       [](const TempFolder& f) { f.writeFile("check/error.json/inside", kEarlierReport); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Batch batch;
    c.prepare(batch.folder());
    batch.folder().writeFile("task.cfg", "");  // so that the run's own task.cfg is no news
    const auto before = contentsOf(batch.folder().path());
    ProgramRun run = batch.run(Switches{});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, batch.echo(Switches{}) + line(kNoImagesReport) + notWritten());
    auto after = contentsOf(batch.folder().path());
    after["task.cfg"] = "";
    EXPECT_EQ(after, before);
  }
}

// Holds every open of a file in a folder until it is answered, and answers each after
// `act` has been told the opening process: the test acts while the program waits
// inside that open. fanotify's permission events need CAP_SYS_ADMIN.
class OpenGate {
 public:
  OpenGate(const std::string& folder, std::function<void(pid_t)> act) : act_(std::move(act)) {
    fd_ = fanotify_init(FAN_CLASS_CONTENT | FAN_CLOEXEC | FAN_NONBLOCK, O_RDONLY);
    if (fd_ >= 0 && fanotify_mark(fd_, FAN_MARK_ADD, FAN_OPEN_PERM | FAN_EVENT_ON_CHILD,
                                  AT_FDCWD, folder.c_str()) != 0) {
      close(fd_);
      fd_ = -1;
    }
    if (fd_ >= 0) server_ = std::thread(&OpenGate::serve, this);
  }
  ~OpenGate() { stop(); }
  OpenGate(const OpenGate&) = delete;
  OpenGate& operator=(const OpenGate&) = delete;

  bool usable() const { return fd_ >= 0; }

  // Answers what is left and lets every later open through.
  void stop() {
    stopping_ = true;
    if (server_.joinable()) server_.join();
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  void serve() {
    alignas(fanotify_event_metadata) char buffer[4096];
    while (!stopping_) {
      pollfd ready{fd_, POLLIN, 0};
      if (poll(&ready, 1, 20) <= 0) continue;
      const ssize_t got = read(fd_, buffer, sizeof buffer);
      if (got <= 0) continue;
      const auto length = static_cast<std::size_t>(got);
      for (std::size_t at = 0; at + sizeof(fanotify_event_metadata) <= length;) {
        const auto* event = reinterpret_cast<const fanotify_event_metadata*>(buffer + at);
        at += event->event_len;
        act_(event->pid);
        const fanotify_response answer{event->fd, FAN_ALLOW};
        EXPECT_EQ(write(fd_, &answer, sizeof answer), static_cast<ssize_t>(sizeof answer));
        close(event->fd);
      }
    }
  }

  std::function<void(pid_t)> act_;
  int fd_ = -1;
  std::atomic<bool> stopping_{false};
  std::thread server_;
};

// An interrupt while the report is written: the program is held inside the open of the
// report's temporary file, and the signal reaches it there. The run must end by that
// signal, leave no temporary file and the earlier report untouched.
TEST(Faults, InterruptWhileTheReportIsWrittenLeavesTheEarlierReportAndNothingElse) {
  for (const int interrupt : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(strsignal(interrupt));
    Batch batch;
    batch.add("a.jpg", kNotAnImage);
    batch.folder().writeFile("check/error.json", kEarlierReport);
    int opens = 0;
    OpenGate gate(batch.folder().at("check"), [&](pid_t opener) {
      if (opens++ == 0) kill(opener, interrupt);
    });
    if (!gate.usable()) GTEST_SKIP() << "no fanotify permission events here (needs root)";
    Switches on;
    on.gps = true;
    ProgramRun run = batch.run(on);
    gate.stop();
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(run.signal, interrupt);
    EXPECT_EQ(contentsOf(batch.folder().path() / "check"),
              (std::map<std::string, std::string>{{"error.json", kEarlierReport}}));
  }
}

// The output folder is a link that another process points elsewhere while the report's
// temporary file is being created in it. The report is finished in the folder where
// it was begun, and no temporary file is left there or anywhere.
TEST(Faults, OutputLinkSwappedDuringTheWriteStrandsNoTemporaryFile) {
  Batch batch;
  batch.add("a.jpg", kNotAnImage);
  batch.folder().makeFolder("first");
  batch.folder().makeFolder("second");
  const std::string link = batch.folder().at("out");
  ASSERT_EQ(symlink("first", link.c_str()), 0);
  batch.setOutputFolder("out");
  int opens = 0;
  OpenGate gate(batch.folder().at("first"), [&](pid_t) {
    if (opens++ != 0) return;
    const std::string swapped = batch.folder().at("out.new");
    EXPECT_EQ(symlink("second", swapped.c_str()), 0);
    EXPECT_EQ(rename(swapped.c_str(), link.c_str()), 0);
  });
  if (!gate.usable()) GTEST_SKIP() << "no fanotify permission events here (needs root)";
  Switches on;
  on.gps = true;
  const ProgramRun run = batch.run(on);
  gate.stop();
  EXPECT_EQ(opens, 1);
  EXPECT_EQ(run.exitCode, 1);
  const std::string report = reportOf({entry(104, messages::kNoGps, {"a.jpg"})});
  EXPECT_EQ(contentsOf(batch.folder().path() / "first"),
            (std::map<std::string, std::string>{{"error.json", report}}));
  EXPECT_TRUE(contentsOf(batch.folder().path() / "second").empty());
}

// RLIMIT_FSIZE makes every write past the limit fail with EFBIG, as a full disk makes
// it fail with ENOSPC, at a byte the test chooses: the new report is cut there.
TEST(Faults, FullDiskKeepsTheEarlierReportWholeAndSaysSo) {
  Batch batch;
  batch.add("a.jpg", kNotAnImage);
  Switches on;
  on.gps = true;
  const std::string report = reportOf({entry(104, messages::kNoGps, {"a.jpg"})});
  for (std::uint64_t limit : {std::uint64_t{0}, std::uint64_t{16}, report.size() - 1}) {
    SCOPED_TRACE(limit);
    batch.folder().writeFile("check/error.json", kEarlierReport);
    RunOptions limits;
    limits.fileSizeLimit = limit;
    ProgramRun run = batch.run(on, limits);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output.substr(run.output.size() - report.size() - 1 - notWritten().size()),
              line(report) + notWritten());
    EXPECT_EQ(contentsOf(batch.folder().path() / "check"),
              (std::map<std::string, std::string>{{"error.json", kEarlierReport}}));
  }
  // With exactly room for it the new report replaces the earlier one.
  RunOptions limits;
  limits.fileSizeLimit = report.size();
  ProgramRun run = batch.run(on, limits);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(contentsOf(batch.folder().path() / "check"),
            (std::map<std::string, std::string>{{"error.json", report}}));
}

// Files change between the scan and the checks, at exactly that moment: a seventh,
// unused key pads the configuration echo to just under the one page of the console
// pipe, so the program blocks on its first line after the scan, and the changes are
// made then. A removed file and an emptied one are skipped; a file cut in half is
// read as it now is and keyed "error". The run goes on with the others.
TEST(Faults, FilesRemovedOrCutAfterTheScanAreSkippedOrReadAsTheyAreNow) {
  Batch batch;
  const std::string photo = makePhoto(surveyPhoto());
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}) batch.add(name, photo);
  Switches on;
  on.resolution = true;
  const std::string config = Batch::configText(on);
  const std::size_t echoed = std::string("task.cfg\n").size() + config.size() + 6;  // 7pad=, \n
  const std::size_t room = 10;  // fewer bytes than the first line after the scan
  const std::string padded = config + "7pad=" + std::string(4096 - room - echoed, 'p') + "\n";
  batch.folder().writeFile("task.cfg", padded);

  RunOptions limits;
  limits.whenOutputIsFull = [&] {
    fs::remove(batch.imagePath("b.jpg"));
    fs::resize_file(batch.imagePath("c.jpg"), 0);
    fs::resize_file(batch.imagePath("d.jpg"), photo.size() / 2);
  };
  ProgramRun run =
      runProgram(PRECHECK_BINARY, {"task.cfg"}, batch.folder().path().string(), limits);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, "task.cfg\n" + padded +
                            resolutionStart({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}) +
                            group("error", 1) + block({"d.jpg"}) + group("4000*3000", 2) +
                            block({}) +
                            line(reportOf({entry(101, messages::kResolutionMismatch, {"d.jpg"})})));
}

// A file that gives fewer bytes than its size, as one that shrinks while it is read
// does: a file of the kernel's sysfs states 4096 bytes and holds a few, every time.
// It is skipped, or read as what it holds and keyed "error"; the run goes on.
TEST(Faults, FileThatHoldsLessThanItsSizeDoesNotStopTheRun) {
  const char* const shrinking = "/sys/kernel/uevent_seqnum";
  struct stat info;
  if (stat(shrinking, &info) != 0 ||
      info.st_size <= static_cast<off_t>(readFileBytes(shrinking).size())) {
    GTEST_SKIP() << "no sysfs file that states more bytes than it holds";
  }
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  fs::create_symlink(shrinking, batch.imagePath("b.jpg"));
  batch.addPhoto("c.jpg", surveyPhoto());
  Switches on;
  on.resolution = true;
  ProgramRun run = batch.run(on);

  const std::string start = batch.echo(on) + resolutionStart({"a.jpg", "b.jpg", "c.jpg"});
  const std::string skipped = start + group("4000*3000", 2) + block({}) + kAllClear;
  const std::string keyedError =
      start + group("error", 1) + block({"b.jpg"}) + group("4000*3000", 2) + block({}) +
      line(reportOf({entry(101, messages::kResolutionMismatch, {"b.jpg"})}));
  EXPECT_TRUE(run.output == skipped || run.output == keyedError) << run.output;
  EXPECT_EQ(run.exitCode, run.output == skipped ? 0 : 1);
}

// precheck task.cfg | head: the reader of the console goes away; the report must
// still be written and the verdict still given.
TEST(Faults, ConsoleWhoseReaderHasGoneDoesNotStopTheReport) {
  Batch batch;
  const std::vector<std::string> all = {"a.jpg", "b.jpg", "c.jpg"};
  for (const std::string& name : all) batch.add(name, kNotAnImage);
  RunOptions limits;
  limits.outputClosed = true;
  ProgramRun run = batch.run(kAllChecks, limits);
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(batch.report(), reportOf({entry(101, messages::kResolutionMismatch, all),
                                      entry(102, messages::kCameraMakeMismatch, all),
                                      entry(103, messages::kFocalLengthZero, all),
                                      entry(104, messages::kNoGps, all)}));
}

TEST(Faults, ConfigurationThatCannotBeReadEndsTheRunWithOneLine) {
  struct Case {
    const char* name;
    void (*prepare)(const TempFolder&);
    std::string message;
  };
  const Case cases[] = {
      {"a FIFO that no one writes",
       [](const TempFolder& f) { ASSERT_EQ(mkfifo(f.at("task.cfg").c_str(), 0644), 0); },
       messages::kOpenFileFailed},
      {"a link to a device that never ends",
       [](const TempFolder& f) { fs::create_symlink("/dev/zero", f.at("task.cfg")); },
       messages::kOpenFileFailed},
      {"a dangling link",
       [](const TempFolder& f) { fs::create_symlink("gone.cfg", f.at("task.cfg")); },
       messages::kOpenFileFailed},
      {"a link to itself",
       [](const TempFolder& f) { fs::create_symlink("task.cfg", f.at("task.cfg")); },
       messages::kOpenFileFailed},
      {"a folder", [](const TempFolder& f) { f.makeFolder("task.cfg"); },
       messages::kOpenFileFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    c.prepare(folder);
    RunOptions limits;
    limits.timeLimitSeconds = 60;  // a hang fails the test instead of stalling it
    ProgramRun run = runProgram(PRECHECK_BINARY, {"task.cfg"}, folder.path().string(), limits);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "task.cfg\n" + c.message + "\n");
    // task.cfg alone: no output folder, no report
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
  }
}

// A table asked for into a FIFO goes to its reader, and the FIFO stays a FIFO; into a
// device, it is written there and the device is not replaced.
TEST(Faults, TableIntoAFifoOrADeviceIsWrittenThrough) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  const std::string fifo = batch.folder().at("table.fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  std::string received;
  std::thread reader([&] {
    const int fd = open(fifo.c_str(), O_RDONLY);
    char buffer[4096];
    for (ssize_t got; fd >= 0 && (got = read(fd, buffer, sizeof buffer)) > 0;) {
      received.append(buffer, static_cast<std::size_t>(got));
    }
    if (fd >= 0) close(fd);
  });
  RunOptions limits;
  limits.timeLimitSeconds = 60;
  const ProgramRun run = batch.run(kAllChecks, {"--table", "table.fifo"}, limits);
  // A run that never opened the FIFO leaves the reader waiting for a writer: one
  // that opens and closes it lets the reader go and the test fail rather than hang.
  const int release = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
  if (release >= 0) close(release);
  reader.join();
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(received.rfind("file,status,reason,", 0), 0u) << received;
  struct stat info;
  ASSERT_EQ(stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));

  EXPECT_EQ(batch.run(kAllChecks, {"--geojson", "/dev/null"}).exitCode, 0);
  ASSERT_EQ(stat("/dev/null", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
}

// A share that never answers the reads of one file: that image is skipped and named
// once the time limit passes, the others are checked, and the program ends, though
// the read it left behind never returns while it lives.
TEST(Faults, ReadThatNeverAnswersSkipsItsImageAndTheRunEnds) {
#ifndef PRECHECK_SHARE_FS
  GTEST_SKIP() << "built without libfuse3: no share to hold a read";
#else
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.addPhoto("held.jpg", surveyPhoto());
  batch.addPhoto("z.jpg", surveyPhoto());
  batch.folder().makeFolder("share");
  const std::string share = batch.folder().at("share");
  RunOptions options;
  options.keepErrors = true;
  options.timeLimitSeconds = 60;
  const ProgramRun mount =
      runProgram(PRECHECK_SHARE_FS, {"--latency-ms", "0", "--hold-read", "/held.jpg",
                                     batch.folder().at("images"), share},
                 batch.folder().path().string(), options);
  if (mount.exitCode != 0) {
    GTEST_SKIP() << "FUSE cannot mount here (/dev/fuse and fusermount3 are needed): "
                 << mount.errors;
  }
  struct Unmount {
    std::string path;
    ~Unmount() {
      runProgram("/bin/sh", {"-c", "fusermount3 -u -z \"$0\"", path}, "/");
    }
  } unmount{share};
  batch.folder().writeFile("task.cfg", "1focal=true\n2gps=true\n3make=true\n4resolution=true\n"
                                       "5input=share\n6output=check\n");
  const ProgramRun run = runProgram(PRECHECK_BINARY, {"--read-timeout", "1.5", "task.cfg"},
                                    batch.folder().path().string(), options);
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_NE(run.errors.find("precheck: skipped share/held.jpg: no answer from the file system "
                            "in 1.5 s\n"),
            std::string::npos)
      << run.errors;
  EXPECT_NE(run.errors.find("precheck: 1 file could not be read\n"), std::string::npos)
      << run.errors;
  EXPECT_EQ(run.output.rfind(kAllClear), run.output.size() - kAllClear.size()) << run.output;
#endif
}

}  // namespace
