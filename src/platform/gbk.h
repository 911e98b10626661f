// GBK, the encoding of file names made on Chinese Windows machines, read by the
// program's own table: the same on every system, whatever its converters.
#ifndef PRECHECK_PLATFORM_GBK_H_
#define PRECHECK_PLATFORM_GBK_H_

#include <cstddef>
#include <cstdint>

namespace platform {

// Two-byte characters: a lead byte 0x81 to 0xFE, a trail byte 0x40 to 0xFE.
inline constexpr std::size_t kGbkLeadCount = 0xFE - 0x81 + 1;
inline constexpr std::size_t kGbkTrailCount = 0xFE - 0x40 + 1;

// The Unicode character of each pair, 0 for a pair that is none.
extern const std::uint16_t kGbkCharacters[kGbkLeadCount][kGbkTrailCount];

// The character of the pair `lead` `trail`, or 0 when they are no GBK character.
inline std::uint32_t gbkCharacter(unsigned char lead, unsigned char trail) {
  if (lead < 0x81 || lead > 0xFE || trail < 0x40 || trail > 0xFE) return 0;
  return kGbkCharacters[lead - 0x81][trail - 0x40];
}

}  // namespace platform

#endif  // PRECHECK_PLATFORM_GBK_H_
