// Characters that a line for people must not carry as they are, on either platform.
#ifndef PRECHECK_PLATFORM_SHOWN_CHARACTERS_H_
#define PRECHECK_PLATFORM_SHOWN_CHARACTERS_H_

#include <cstdint>
#include <string>

namespace platform {

// Controls (C0, DEL, C1) move the cursor, clear the screen or start escape sequences;
// the line and paragraph separators break lines; the marks that reorder text let a
// name show as another ("photo\u202Egpj.exe" shows as "photoexe.jpg").
inline bool hidesOrMoves(std::uint32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0x061C ||
         c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

// How a byte that is not shown as it is appears: \xHH.
inline void appendEscaped(unsigned char byte, std::string& line) {
  const char* digits = "0123456789ABCDEF";
  line += "\\x";
  line += digits[byte >> 4];
  line += digits[byte & 0x0F];
}

}  // namespace platform

#endif  // PRECHECK_PLATFORM_SHOWN_CHARACTERS_H_
