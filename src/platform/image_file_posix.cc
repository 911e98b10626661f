// Image files are read with positioned reads of the ranges the parser asks for. A file
// over 64 KB gets random-access advice: the kernel then reads those pages and no
// read-ahead window around them, most of which would be a photograph's body.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

// Opens a file known to be regular. O_NONBLOCK all the same, should it have become a
// FIFO since; anything but a regular file is then closed unread.
OpenedImage openRegularFile(const PathParent& parent) {
  const int fd = openForReading(parent.folder(), parent.rest());
  if (fd < 0) return failed(failureOf(errno));
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return failed(OpenFailure::notRegularFile);
  }
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > kSmallFileBytes) posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
  OpenedImage image;
  image.file = std::make_unique<PosixImageFile>(fd, size);
  return image;
}

class PosixImageFiles final : public ImageFiles {
 public:
  OpenedImage open(const std::string& path, const NativePath& native) override {
    const PathParent parent(path);
    if (!parent.usable()) return failed(failureOf(errno));
    // A file the listing did not see as regular (a FIFO, a device, a link to nothing,
    // a name it could not stat) is asked its type first, and opened only when it is
    // regular by now: opening a FIFO releases its waiting writer, and opening a device
    // can have effects of its own.
    if (!native.regularFile) {
      struct stat info;
      if (fstatat(parent.folder(), parent.rest(), &info, 0) != 0) return failed(failureOf(errno));
      if (!S_ISREG(info.st_mode)) return failed(OpenFailure::notRegularFile);
    }
    return openRegularFile(parent);
  }
};

}  // namespace

ImageFiles& systemImageFiles() {
  static PosixImageFiles files;
  return files;
}

}  // namespace platform
