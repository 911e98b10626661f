// Characters as lines and files for people need them, on either platform.
#ifndef PRECHECK_PLATFORM_CHARACTERS_H_
#define PRECHECK_PLATFORM_CHARACTERS_H_

#include <cstdint>
#include <string>

namespace platform {

// C0 and C1 controls and DEL: they move the cursor, clear the screen, start escape
// sequences or break lines.
inline bool isControl(std::uint32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// What a terminal line must not carry as it is: controls, the line and paragraph
// separators, the marks that reorder text, with which a name can show as another
// ("photo" U+202E "gpj.exe" shows as "photoexe.jpg"), and the characters of no width,
// such as a byte-order mark in front of a key, which would hide in plain sight.
inline bool hidesOrMoves(std::uint32_t c) {
  const bool reorders = c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
                        (c >= 0x2066 && c <= 0x2069);
  const bool noWidth = c == 0x200B || c == 0x2060 || c == 0xFEFF;
  return isControl(c) || c == 0x2028 || c == 0x2029 || reorders || noWidth;
}

// How a byte that is not shown as it is appears on a terminal: \xHH.
inline void appendEscaped(unsigned char byte, std::string& line) {
  const char* digits = "0123456789ABCDEF";
  line += "\\x";
  line += digits[byte >> 4];
  line += digits[byte & 0x0F];
}

// Appends `c`, a Unicode scalar value, in UTF-8.
inline void appendUtf8(std::uint32_t c, std::string& text) {
  if (c < 0x80) {
    text += static_cast<char>(c);
    return;
  }
  if (c < 0x800) {
    text += static_cast<char>(0xC0 | (c >> 6));
  } else {
    if (c < 0x10000) {
      text += static_cast<char>(0xE0 | (c >> 12));
    } else {
      text += static_cast<char>(0xF0 | (c >> 18));
      text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    }
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  }
  text += static_cast<char>(0x80 | (c & 0x3F));
}

}  // namespace platform

#endif  // PRECHECK_PLATFORM_CHARACTERS_H_
