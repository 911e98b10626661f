// Texts from outside (file names, camera makes) in the UTF-8 files people open, the
// same on every platform once each has read the characters in its own encoding.
#ifndef PRECHECK_PLATFORM_OUTSIDE_TEXT_H_
#define PRECHECK_PLATFORM_OUTSIDE_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One character of a text as the system reads it, or one byte that is none there.
struct OutsideCharacter {
  std::string_view bytes;
  std::uint32_t c = 0;  // the Unicode character; 0 when `valid` is false
  bool valid = false;
};

// `bytes`, read as `characters`, in UTF-8 so that no two texts show alike: as read when
// every character is one; else as GBK when the text is GBK; else each byte that is no
// character as \xHH. A control character shows as \xHH of its UTF-8, a backslash as
// \\ (save `separator`, a character that no name holds, which stays as it is).
std::string outsideTextToUtf8(std::string_view bytes,
                              const std::vector<OutsideCharacter>& characters,
                              std::uint32_t separator);

// Whether `bytes` show as they are: printable ASCII with no backslash but `separator`,
// which every codeset and code page reads alike. Most names are, and need not be read
// character by character.
bool showsAsItIs(std::string_view bytes, std::uint32_t separator);

}  // namespace platform

#endif  // PRECHECK_PLATFORM_OUTSIDE_TEXT_H_
