// Image files are read with positioned reads of the ranges the parser asks for, under
// random-access advice: the kernel then reads those pages and no read-ahead window
// around them, most of which would be a photograph's body that no one looks at.
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

// Opens the regular file that `pathFd` (an O_PATH descriptor) names. Through
// /proc/self/fd the open reaches that very file, whatever was renamed since, without
// looking its name up again: on a share, a request fewer. Without /proc, by its name
// again, and then it must still be the same file.
int openNamedFile(int pathFd, const struct stat& named, const PathParent& parent) {
  const std::string self = "/proc/self/fd/" + std::to_string(pathFd);
  int fd = openForReading(AT_FDCWD, self.c_str());
  if (fd >= 0 || errno != ENOENT) return fd;
  fd = openForReading(parent.folder(), parent.rest());
  struct stat opened;
  if (fd >= 0 && (fstat(fd, &opened) != 0 || opened.st_ino != named.st_ino ||
                  opened.st_dev != named.st_dev)) {
    close(fd);
    errno = EACCES;
    return -1;
  }
  return fd;
}

// A file open for reading, or why it is not.
struct OpenedFile {
  int fd = -1;
  std::uint64_t size = 0;
  OpenFailure failure = OpenFailure::none;
};

OpenedFile refused(OpenFailure failure) {
  OpenedFile file;
  file.failure = failure;
  return file;
}

// A file the listing saw as regular is opened at once, O_NONBLOCK all the same should
// it have become a FIFO since; anything but a regular file is then closed unread.
OpenedFile openListedFile(const PathParent& parent) {
  OpenedFile file;
  file.fd = openForReading(parent.folder(), parent.rest());
  if (file.fd < 0) return refused(failureOf(errno));
  struct stat info;
  if (fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(file.fd);
    return refused(OpenFailure::notRegularFile);
  }
  file.size = static_cast<std::uint64_t>(info.st_size);
  return file;
}

// Any other file is first named with O_PATH, which does not open it: no FIFO's writer
// is released, no device is touched and no lease broken before its type is known.
OpenedFile openUnlistedFile(const PathParent& parent) {
  const int pathFd = openat(parent.folder(), parent.rest(), O_PATH | O_CLOEXEC);
  if (pathFd < 0) return refused(failureOf(errno));
  struct stat info;
  if (fstat(pathFd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(pathFd);
    return refused(OpenFailure::notRegularFile);
  }
  OpenedFile file;
  file.fd = openNamedFile(pathFd, info, parent);
  const int error = errno;
  close(pathFd);
  if (file.fd < 0) return refused(failureOf(error));
  file.size = static_cast<std::uint64_t>(info.st_size);
  return file;
}

// Read-ahead of a file this small reads little beyond what the parse reads anyway.
constexpr std::uint64_t kSmallFileBytes = 64 * 1024;

class PosixImageFiles final : public ImageFiles {
 public:
  OpenedImage open(const std::string& path, const NativePath& native) override {
    const PathParent parent(path);
    if (!parent.usable()) return failed(failureOf(errno));
    const OpenedFile file = native.regularFile ? openListedFile(parent) : openUnlistedFile(parent);
    if (file.fd < 0) return failed(file.failure);
    if (file.size > kSmallFileBytes) posix_fadvise(file.fd, 0, 0, POSIX_FADV_RANDOM);
    OpenedImage image;
    image.file = std::make_unique<PosixImageFile>(file.fd, file.size);
    return image;
  }
};

}  // namespace

ImageFiles& systemImageFiles() {
  static PosixImageFiles files;
  return files;
}

}  // namespace platform
