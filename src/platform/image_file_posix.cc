// Image files are mapped, not read: the parser looks at the start of a file, its EXIF
// block and its last bytes, so a mapping reads a few pages where a whole read would
// copy every byte of a 20 MB photograph, and it does so again in each check. Small
// files are read whole: setting up and tearing down a mapping costs more than
// copying a few pages.
#include "platform/platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <new>

namespace platform {

namespace {

// Measured: up to about this size one read is cheaper than a mapping.
constexpr std::size_t kLargestFileReadWhole = 64 * 1024;

// Reads the file into a buffer of exactly its size and shows that; false when the
// file ends early or the buffer cannot be had.
bool parseRead(int fd, std::size_t size, const ImageParse& parse) {
  std::unique_ptr<unsigned char[]> bytes(new (std::nothrow) unsigned char[size]);
  if (bytes == nullptr) return false;
  std::size_t done = 0;
  while (done < size) {
    ssize_t got = pread(fd, bytes.get() + done, size - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  parse(bytes.get(), static_cast<std::uint32_t>(size));
  return true;
}

// A page of a mapping that the file no longer backs (it was cut short, or the disk
// failed) raises SIGBUS when the parser touches it. The handler puts a page of zeros
// in its place, so that the parse runs on to its end, and marks the view damaged, so
// that the file is skipped like one that could not be read. Only faults inside the
// view being parsed are taken; any other goes to the action that was there before.
std::atomic<std::uintptr_t> viewStart{0};
std::atomic<std::uintptr_t> viewEnd{0};
std::atomic<bool> viewDamaged{false};
std::uintptr_t pageSize = 0;
struct sigaction previousBusAction;

void onBusError(int signal, siginfo_t* info, void*) {
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  // si_code > 0: raised by a fault, not sent by kill.
  if (info->si_code > 0 && address >= viewStart.load() && address < viewEnd.load()) {
    void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
    if (mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
        MAP_FAILED) {
      viewDamaged.store(true);
      return;
    }
  }
  // Returning repeats a fault under the previous action; a sent signal is sent again.
  sigaction(SIGBUS, &previousBusAction, nullptr);
  if (info->si_code <= 0) raise(signal);
}

void installBusHandlerOnce() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  struct sigaction action = {};
  action.sa_sigaction = onBusError;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  sigaction(SIGBUS, &action, &previousBusAction);
}

// Shows the mapped file to `parse`; false when the file changed size or a page of it
// could not be read meanwhile.
bool parseMapped(int fd, std::size_t size, const ImageParse& parse) {
  void* view = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  // Some file systems cannot map files; those are read as they always were.
  if (view == MAP_FAILED) return parseRead(fd, size, parse);
  // Without this, each first touch reads ahead a window of several megabytes around
  // it, most of a photograph's body, which the parse never looks at.
  madvise(view, size, MADV_RANDOM);
  installBusHandlerOnce();
  const auto start = reinterpret_cast<std::uintptr_t>(view);
  viewDamaged.store(false);
  viewStart.store(start);
  viewEnd.store(start + size);
  parse(static_cast<const unsigned char*>(view), static_cast<std::uint32_t>(size));
  viewEnd.store(0);
  viewStart.store(0);
  // A file cut inside its last page raises no fault: the bytes past its new end read
  // as zeros. Its size tells.
  struct stat info;
  const bool intact = !viewDamaged.load() && fstat(fd, &info) == 0 &&
                      info.st_size >= static_cast<off_t>(size);
  munmap(view, size);
  return intact;
}

}  // namespace

bool parseImageFile(const std::string& path, const ImageParse& parse) {
  // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; it is refused below.
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  bool usable = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
                info.st_size <= INT32_MAX;
  if (usable) {
    const auto size = static_cast<std::size_t>(info.st_size);
    usable = size <= kLargestFileReadWhole ? parseRead(fd, size, parse)
                                           : parseMapped(fd, size, parse);
  }
  close(fd);
  return usable;
}

}  // namespace platform
