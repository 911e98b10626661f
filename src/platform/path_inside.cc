#include "platform/platform.h"

namespace platform {

std::string pathInside(const std::string& folder, const std::string& path) {
  const std::string prefix = joinPath(folder, "");
  const bool below = path.compare(0, prefix.size(), prefix) == 0;
  return below ? path.substr(prefix.size()) : path;
}

}  // namespace platform
