// The report is written to a temporary file that then takes the report's place. An
// interrupt while the temporary file exists must not leave it behind: in a folder the
// batch shares it would be one more file of the batch. So SIGINT, SIGTERM and SIGHUP
// are caught for that time; their handler removes the file, puts the default action
// back and raises the signal again, so the run ends as it would have.
// The output folder is opened once, and the temporary file is created, put in place
// and removed in that folder: a link on the way that is swapped meanwhile can neither
// strand the file nor send the report elsewhere halfway.
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/platform.h"
#include "platform/posix_paths.h"
#include "platform/temporary_name.h"

namespace platform {

namespace {

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kInterruptCount = sizeof kInterrupts / sizeof kInterrupts[0];

// The thread that writes the temporary file, and the file. The thread holds the
// interrupts back while it creates the file and while it puts it in place, so the
// handler, which runs on that thread, never sees the file half created or half moved.
pthread_t writer;
int temporaryFolder = -1;
char temporaryName[PATH_MAX];
volatile sig_atomic_t temporaryExists = 0;

extern "C" void removeTemporaryAndEnd(int signalNumber) {
  // The run's other threads (the image readers) may take a signal meant for the
  // process; the writer knows whether its file is there.
  if (!pthread_equal(pthread_self(), writer)) {
    pthread_kill(writer, signalNumber);
    return;
  }
  if (temporaryExists) unlinkat(temporaryFolder, temporaryName, 0);
  signal(signalNumber, SIG_DFL);
  // Blocked while the handler runs, so it ends the process as the handler returns.
  raise(signalNumber);
}

sigset_t interrupts() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signalNumber : kInterrupts) sigaddset(&set, signalNumber);
  return set;
}

// Catches the interrupts while it lives and puts their earlier actions back after. An
// interrupt that is ignored (a run under nohup) stays ignored.
class InterruptsCaught {
 public:
  InterruptsCaught() {
    writer = pthread_self();
    struct sigaction caught = {};
    caught.sa_handler = removeTemporaryAndEnd;
    caught.sa_mask = interrupts();
    for (int i = 0; i < kInterruptCount; ++i) {
      sigaction(kInterrupts[i], nullptr, &earlier_[i]);
      if (earlier_[i].sa_handler != SIG_IGN) sigaction(kInterrupts[i], &caught, nullptr);
    }
  }
  ~InterruptsCaught() {
    for (int i = 0; i < kInterruptCount; ++i) sigaction(kInterrupts[i], &earlier_[i], nullptr);
  }
  InterruptsCaught(const InterruptsCaught&) = delete;
  InterruptsCaught& operator=(const InterruptsCaught&) = delete;

 private:
  struct sigaction earlier_[kInterruptCount];
};

// Holds the interrupts back in this thread while it lives; one that comes meanwhile is
// handled when it goes.
class InterruptsHeld {
 public:
  InterruptsHeld() {
    const sigset_t held = interrupts();
    pthread_sigmask(SIG_BLOCK, &held, &earlier_);
  }
  ~InterruptsHeld() { pthread_sigmask(SIG_SETMASK, &earlier_, nullptr); }
  InterruptsHeld(const InterruptsHeld&) = delete;
  InterruptsHeld& operator=(const InterruptsHeld&) = delete;

 private:
  sigset_t earlier_;
};

// 64 bits from the system's random source.
bool randomNumber(std::uint64_t& number) {
  if (getentropy(&number, sizeof number) == 0) return true;
  const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool read = ::read(fd, &number, sizeof number) == static_cast<ssize_t>(sizeof number);
  close(fd);
  return read;
}

// Opens the folder the file at `path` is in, for the *at() calls alone: writing into it
// needs no right to list it. Returns its descriptor, or -1.
int openFolderOf(const std::string& path) {
  const PathParent parent(splitPath(path).folder);
  if (!parent.usable()) return -1;
#ifdef O_PATH
  constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
  constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif
  return openat(parent.folder(), parent.rest(), kFolderFlags);
}

// Creates in `folder` a temporary file for the file named `fileName` that did not exist
// before, under a name of which the handler knows. Returns its descriptor, or -1.
int createTemporary(int folder, const std::string& fileName) {
  // Other names are tried when one is taken; taken by chance twice in a row is all but
  // impossible, so many failures mean that something else is wrong.
  constexpr int kAttempts = 16;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::uint64_t random = 0;
    if (!randomNumber(random)) return -1;
    const std::string name = temporaryNameFor(fileName, random);
    if (name.size() >= sizeof temporaryName) {
      errno = ENAMETOOLONG;
      return -1;
    }
    const InterruptsHeld held;
    const int fd = openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      std::memcpy(temporaryName, name.c_str(), name.size() + 1);
      temporaryFolder = folder;
      temporaryExists = 1;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

// Removes the temporary file, if any, from its folder, and closes the folder.
void removeTemporary(int folder) {
  const InterruptsHeld held;
  if (temporaryExists) unlinkat(folder, temporaryName, 0);
  temporaryExists = 0;
  temporaryFolder = -1;
  close(folder);
}

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

}  // namespace

bool replaceFile(const std::string& path, const std::string& bytes) {
  const InterruptsCaught caught;
  const int folder = openFolderOf(path);
  if (folder < 0) return false;
  const std::string fileName = splitPath(path).name;
  const int fd = createTemporary(folder, fileName);
  if (fd < 0) {
    close(folder);
    return false;
  }
  // fsync before the rename, so that a crash cannot leave an empty file in its place.
  bool written = writeAll(fd, bytes) && fsync(fd) == 0;
  written = close(fd) == 0 && written;
  bool replaced = false;
  {
    const InterruptsHeld held;
    replaced =
        written && renameat(folder, temporaryName, folder, fileName.c_str()) == 0;
    if (replaced) temporaryExists = 0;
  }
  removeTemporary(folder);
  return replaced;
}

}  // namespace platform
