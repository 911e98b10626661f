#include "platform/temporary_name.h"

#include <cstddef>

#include "platform/platform.h"

namespace platform {

namespace {

constexpr char kMark[] = ".tmp-";
constexpr std::size_t kMarkLength = sizeof kMark - 1;
constexpr std::size_t kDigits = 16;
constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

std::string temporaryNameFor(const std::string& path, std::uint64_t random) {
  std::string name = path + kMark;
  for (std::size_t i = 0; i < kDigits; ++i) {
    name += kHexDigits[(random >> (60 - 4 * i)) & 0xF];
  }
  return name;
}

bool isTemporaryName(const std::string& name, const std::string& fileName) {
  if (name.size() != fileName.size() + kMarkLength + kDigits) return false;
  if (name.compare(0, fileName.size(), fileName) != 0) return false;
  if (name.compare(fileName.size(), kMarkLength, kMark) != 0) return false;
  for (std::size_t i = fileName.size() + kMarkLength; i < name.size(); ++i) {
    if ((name[i] < '0' || name[i] > '9') && (name[i] < 'a' || name[i] > 'f')) return false;
  }
  return true;
}

}  // namespace platform
