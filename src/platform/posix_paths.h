// Paths of any length on the POSIX side. A path longer than PATH_MAX cannot be given
// to open() whole, yet deep survey trees with long names reach that length; such a
// path is opened folder by folder, each step relative to the one before.
#ifndef PRECHECK_PLATFORM_POSIX_PATHS_H_
#define PRECHECK_PLATFORM_POSIX_PATHS_H_

#include <string>

namespace platform {

// The folder that holds the last part of `path`, open, and that last part.
class PathParent {
 public:
  explicit PathParent(const std::string& path);
  ~PathParent();
  PathParent(const PathParent&) = delete;
  PathParent& operator=(const PathParent&) = delete;

  // False when a folder on the way could not be opened; errno tells why.
  bool usable() const { return usable_; }
  // For the *at() calls: the folder, or AT_FDCWD for a path short enough as it is.
  int folder() const { return folder_; }
  const char* rest() const { return rest_.c_str(); }

 private:
  int folder_;
  std::string rest_;
  bool usable_ = true;
};

}  // namespace platform

#endif  // PRECHECK_PLATFORM_POSIX_PATHS_H_
