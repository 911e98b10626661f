#include "app/error_line.h"

#include <cstdint>

#include "platform/characters.h"

namespace {

// The length of the UTF-8 sequence at `at` and its character, or 0 when the bytes
// there are no such sequence (a lone byte, or another encoding such as GBK).
std::size_t utf8SequenceAt(const std::string& bytes, std::size_t at, std::uint32_t& c) {
  const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byteAt(at);
  std::size_t length = 0;
  std::uint32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1Fu, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0Fu, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07u, least = 0x10000;
  } else {
    return 0;
  }
  if (bytes.size() - at < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = byteAt(at + i);
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3Fu);
  }
  const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
  return c < least || c > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

// Escapes what a terminal line must not carry as it is, as the terminal does: controls,
// and the UTF-8 of the characters that reorder text or have no width, so that a name
// cannot fake another on standard error either. Other bytes pass as they are: names in
// another encoding stay readable where that encoding is the terminal's.
std::string oneLine(const std::string& bytes) {
  std::string shown;
  for (std::size_t at = 0; at < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[at]);
    std::uint32_t c = byte;
    std::size_t length = byte < 0x80 ? 1 : utf8SequenceAt(bytes, at, c);
    const bool hidden = length == 0 ? false : platform::hidesOrMoves(c);
    if (length == 0) length = 1;
    for (std::size_t i = at; i < at + length; ++i) {
      if (hidden) {
        platform::appendEscaped(static_cast<unsigned char>(bytes[i]), shown);
      } else {
        shown += bytes[i];
      }
    }
    at += length;
  }
  return shown;
}
