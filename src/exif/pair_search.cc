#include "exif/pair_search.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;

// The high bit of each byte of `v` that is 0, and no other bit: exact, unlike the
// shorter test that also marks a 01 byte above a 00 one.
std::uint64_t zeroBytes(std::uint64_t v) { return ~(((v & kLow7) + kLow7) | v | kLow7); }

}  // namespace

const unsigned char* findBytePair(const unsigned char* begin, const unsigned char* end,
                                  unsigned char first, unsigned char second) {
  if (end - begin < 2) return nullptr;
  const unsigned char* const last = end - 1;  // a pair starts before it
  const std::uint64_t firsts = kOnes * first;
  const unsigned char* at = begin;
  // Eight bytes at a time while a pair starting in them ends before `end`; the bytes
  // of a word are looked at one by one only when it holds `first`.
  for (; last - at >= 8; at += 8) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    if (zeroBytes(word ^ firsts) == 0) continue;
    for (int i = 0; i < 8; ++i) {
      if (at[i] == first && at[i + 1] == second) return at + i;
    }
  }
  for (; at < last; ++at) {
    if (at[0] == first && at[1] == second) return at;
  }
  return nullptr;
}
