#include "platform/posix_paths.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

PathParent::PathParent(const std::string& path) : folder_(AT_FDCWD) {
  std::size_t start = 0;
  while (path.size() - start >= PATH_MAX) {
    // The longest run of whole folder names that open() still takes.
    const std::size_t slash = path.rfind('/', start + PATH_MAX - 2);
    if (slash == std::string::npos || slash < start) {
      errno = ENAMETOOLONG;
      usable_ = false;
      return;
    }
    const std::string step = path.substr(start, slash + 1 - start);
    const int next = openat(folder_, step.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // The caller reads why the open failed from errno, which the close may change.
    const int openError = errno;
    if (folder_ != AT_FDCWD) close(folder_);
    folder_ = next;
    if (next < 0) {
      errno = openError;
      usable_ = false;
      return;
    }
    start = slash + 1;
  }
  rest_ = path.substr(start);
}

PathParent::~PathParent() {
  if (folder_ >= 0) close(folder_);
}

}  // namespace platform
