#include "checks/image_checker.h"

// Both separators count, whatever the platform: paths may come from either world.
// The search is byte-wise, so a GBK trail byte 0x5C cuts the name too.
std::string ImageChecker::fileNameOf(std::string path) {
  std::size_t separator = path.find_last_of("/\\");
  if (separator == std::string::npos) return path;
  return path.substr(separator + 1);
}
