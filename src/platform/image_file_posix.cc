// Image files are read with positioned reads of the ranges the parser asks for, under
// random-access advice: the kernel then reads those pages and no read-ahead window
// around them, most of which would be a photograph's body that no one looks at.
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

class PosixImageFiles final : public ImageFiles {
 public:
  OpenedImage open(const std::string& path, const NativePath&) override {
    const PathParent parent(path);
    if (!parent.usable()) return failed(failureOf(errno));
    struct stat info;
    if (fstatat(parent.folder(), parent.rest(), &info, 0) != 0) return failed(failureOf(errno));
    if (!S_ISREG(info.st_mode)) return failed(OpenFailure::notRegularFile);

    // O_NONBLOCK, should the file have become a FIFO since: its open would wait for a
    // writer. A regular file under a lease (a share's oplock) refuses a non-blocking
    // open; the second open waits for the lease as any reader would.
    const int flags = O_RDONLY | O_NOCTTY | O_CLOEXEC;
    int fd = openat(parent.folder(), parent.rest(), flags | O_NONBLOCK);
    if (fd < 0 && errno == EWOULDBLOCK) fd = openat(parent.folder(), parent.rest(), flags);
    if (fd < 0) return failed(failureOf(errno));
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      close(fd);
      return failed(OpenFailure::notRegularFile);
    }
    posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
    OpenedImage opened;
    opened.file = std::make_unique<PosixImageFile>(fd, static_cast<std::uint64_t>(info.st_size));
    return opened;
  }
};

}  // namespace

ImageFiles& systemImageFiles() {
  static PosixImageFiles files;
  return files;
}

}  // namespace platform
