#include "checks/file_name.h"

// Both separators count, whatever the platform: paths may come from either world.
// The search is byte-wise, so a GBK trail byte 0x5C cuts the name too.
std::string_view fileNameOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("/\\");
  if (separator == std::string::npos) return path;
  return std::string_view(path).substr(separator + 1);
}
