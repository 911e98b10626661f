// Image files are read with positioned reads of the ranges the parser asks for. A file
// over 64 KB gets random-access advice: the kernel then reads those pages and no
// read-ahead window around them, most of which would be a photograph's body. A file
// searched from front to back (no EXIF block near its start) gets sequential advice
// from then on, so the kernel reads ahead of the search instead of waiting for each
// piece.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/platform.h"
#include "platform/posix_paths.h"

namespace platform {

namespace {

class PosixImageFile final : public ImageFile {
 public:
  PosixImageFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  ~PosixImageFile() override { close(fd_); }
  PosixImageFile(const PosixImageFile&) = delete;
  PosixImageFile& operator=(const PosixImageFile&) = delete;

  std::uint64_t size() const override { return size_; }

  bool readAt(std::uint64_t offset, std::size_t length, unsigned char* destination) override {
    std::size_t done = 0;
    while (done < length) {
      const ssize_t got =
          pread(fd_, destination + done, length - done, static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      // An error of the disk or the share, or the end of a file cut since it was opened.
      if (got <= 0) return false;
      done += static_cast<std::size_t>(got);
    }
    return true;
  }

  void readOnInOrder() override { posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL); }

 private:
  int fd_;
  std::uint64_t size_;
};

OpenedImage failed(OpenFailure failure) {
  OpenedImage opened;
  opened.failure = failure;
  return opened;
}

OpenFailure failureOf(int error) {
  return error == ENOENT || error == ENOTDIR ? OpenFailure::missing : OpenFailure::notOpenable;
}

// Opens for reading, O_NONBLOCK first, as the file is known to be regular: a regular
// file under a lease (a share's oplock) refuses a non-blocking open, and the second
// open waits for the lease as any reader's would.
int openForReading(int folder, const char* name) {
  const int flags = O_RDONLY | O_NOCTTY | O_CLOEXEC;
  int fd = openat(folder, name, flags | O_NONBLOCK);
  if (fd < 0 && errno == EWOULDBLOCK) fd = openat(folder, name, flags);
  return fd;
}

// Read-ahead of a file this small reads little beyond what the parse reads anyway.
constexpr std::uint64_t kSmallFileBytes = 64 * 1024;

// `known` is the file's stat when `fd` is known to be the file it came from; else the
// descriptor is asked, as its name may have been taken by something else meanwhile.
OpenedImage openedFile(int fd, const struct stat* known = nullptr) {
  struct stat info;
  if (known != nullptr) {
    info = *known;
  } else if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return failed(OpenFailure::notRegularFile);
  }
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > kSmallFileBytes) posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
  OpenedImage image;
  image.file = std::make_unique<PosixImageFile>(fd, size);
  return image;
}

#ifdef O_PATH
// The folder of this process's descriptors, opened once: a reopen through it looks up
// one name, where the whole path /proc/self/fd/N cost a walk through four (5 % of a
// run of small files). The program never forks, which would leave a child looking at
// its parent's descriptors through it; an exec closes it.
int ownDescriptors() {
  static const int folder = open("/proc/self/fd", O_PATH | O_DIRECTORY | O_CLOEXEC);
  return folder;
}

// The file's type is asked through a descriptor that opens nothing (O_PATH: no open
// request reaches the file, a FIFO's writer is not released), whatever the listing saw:
// a regular file may have been replaced by a FIFO since. The file is then opened
// through that descriptor, so what is opened is what was asked, even if the name is
// taken by something else in between; by its name where /proc is not mounted.
OpenedImage openChecked(const PathParent& parent) {
  const int pathFd = openat(parent.folder(), parent.rest(), O_PATH | O_CLOEXEC);
  if (pathFd < 0) return failed(failureOf(errno));
  struct stat info;
  if (fstat(pathFd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(pathFd);
    return failed(OpenFailure::notRegularFile);
  }
  int fd = -1;
  errno = ENOENT;
  if (const int descriptors = ownDescriptors(); descriptors >= 0) {
    fd = openForReading(descriptors, std::to_string(pathFd).c_str());
  }
  // Opened through the descriptor, it is the file just asked: its stat stands.
  const bool throughDescriptor = fd >= 0;
  if (fd < 0 && errno == ENOENT) fd = openForReading(parent.folder(), parent.rest());
  const int openError = errno;
  close(pathFd);
  if (fd < 0) return failed(failureOf(openError));
  return openedFile(fd, throughDescriptor ? &info : nullptr);
}
#else
OpenedImage openChecked(const PathParent& parent) {
  struct stat info;
  if (fstatat(parent.folder(), parent.rest(), &info, 0) != 0) return failed(failureOf(errno));
  if (!S_ISREG(info.st_mode)) return failed(OpenFailure::notRegularFile);
  const int fd = openForReading(parent.folder(), parent.rest());
  if (fd < 0) return failed(failureOf(errno));
  return openedFile(fd);
}
#endif

class PosixImageFiles final : public ImageFiles {
 public:
  OpenedImage open(const std::string& path, const NativePath&) override {
    const PathParent parent(path);
    if (!parent.usable()) return failed(failureOf(errno));
    return openChecked(parent);
  }
};

}  // namespace

ImageFiles& systemImageFiles() {
  static PosixImageFiles files;
  return files;
}

}  // namespace platform
