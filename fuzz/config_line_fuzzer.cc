// libFuzzer target: any bytes, taken as the text of a task configuration file. The
// reader must end on every input without undefined behaviour, and every entry it keeps
// must be one that a line can give: a non-empty key without "=", neither part holding
// "#" or a line break, nor starting or ending with a space or a tab; one per key, in
// byte order.
#include <cstddef>
#include <cstdint>
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
  const ConfigEntries entries(std::string(reinterpret_cast<const char*>(data), size));
  const ConfigEntry* previous = nullptr;
  for (const ConfigEntry& entry : entries) {
    const std::string key(entry.key);
    const std::string value(entry.value);
    if (key.empty() || holdsAny(key, "=#\n") || holdsAny(value, "#\n") || !trimmed(key) ||
        !trimmed(value)) {
      __builtin_trap();
    }
    // One entry per key, in strictly ascending byte order.
    if (previous != nullptr && !(previous->key < entry.key)) __builtin_trap();
    previous = &entry;
  }
  return 0;
}
