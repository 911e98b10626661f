// libFuzzer target: any bytes, taken as the text of a task configuration file. The
// line reader must end on every input without undefined behaviour, and every entry it
// keeps must be one that a line can give: a non-empty key without "=", neither part
// holding "#" or a line break, nor starting or ending with a space or a tab.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "config/config_file.h"

namespace {

bool trimmed(const std::string& text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return text.empty() || (!blank(text.front()) && !blank(text.back()));
}

bool holdsAny(const std::string& text, const char* bytes) {
  return text.find_first_of(bytes) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  ConfigMap map;
  readConfigLines(in, map);
  for (const auto& [key, value] : map) {
    if (key.empty() || holdsAny(key, "=#\n") || holdsAny(value, "#\n") || !trimmed(key) ||
        !trimmed(value)) {
      __builtin_trap();
    }
  }
  return 0;
}
