#include "app/error_line.h"

#include "platform/characters.h"

std::string oneLine(const std::string& bytes) {
  std::string shown;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      shown += c;
    } else {
      platform::appendEscaped(byte, shown);
    }
  }
  return shown;
}
