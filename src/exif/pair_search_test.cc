#include "exif/pair_search.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every place of the pair relative to the eight-byte steps and to both ends, with the
// bytes that look like it around: its first byte alone, doubled, or last of all.
TEST(FindBytePair, FindsTheFirstPairWhereverItLies) {
  struct Case {
    std::string bytes;
    long found;  // -1: none
  };
  std::vector<Case> cases = {
      {"", -1}, {"\xFF", -1}, {"\xE1\xFF", -1}, {"\xFF\xE1", 0}, {"x\xFF\xFF\xE1", 2},
      {std::string(15, 'x') + "\xFF", -1}, {std::string(16, 'x') + "\xE1\xFF", -1},
      {"\xFF" + std::string(30, '\xFF') + "\xE0\xFF\xE1\xFF\xE1", 32},
  };
  for (std::size_t at = 0; at < 24; ++at) {
    std::string bytes(26, '\xFF');
    for (std::size_t i = 0; i < bytes.size(); i += 3) bytes[i] = '\0';
    bytes[at] = '\xFF';
    bytes[at + 1] = '\xE1';
    cases.push_back({bytes, static_cast<long>(at)});
    cases.push_back({bytes.substr(0, at + 2), static_cast<long>(at)});
    cases.push_back({bytes.substr(0, at + 1), -1});
  }
  for (const Case& c : cases) {
    const auto* begin = reinterpret_cast<const unsigned char*>(c.bytes.data());
    const unsigned char* found = findBytePair(begin, begin + c.bytes.size(), 0xFF, 0xE1);
    EXPECT_EQ(found == nullptr ? -1 : found - begin, c.found) << testing::PrintToString(c.bytes);
  }
}

}  // namespace
