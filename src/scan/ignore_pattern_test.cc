#include "scan/ignore_pattern.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(IgnorePattern, MatchesAsTheShellWouldAcrossFolders) {
  const struct {
    const char* pattern;
    const char* path;
    bool matches;
  } cases[] = {
      {"Thumbs.db", "Thumbs.db", true},
      {"Thumbs.db", "day1/Thumbs.db", false},  // a plain name is only at the top
      {"thumbs.db", "Thumbs.db", false},       // case counts
      {"*.MRK", "a_Timestamp.MRK", true},
      {"*.MRK", "day1/a_Timestamp.MRK", false},  // * does not cross /
      {"*/*.MRK", "day1/a.MRK", true},
      {"*/*.MRK", "a.MRK", false},
      {"**/*.MRK", "a.MRK", true},  // **/ may be no folder
      {"**/*.MRK", "day1/a.MRK", true},
      {"**/*.MRK", "day1/flight2/a.MRK", true},
      {"**/*.MRK", "day1/a.MRK.jpg", false},
      {"**/*.MRK", "xa.MRKy", false},
      {"**/x", "ax", false},  // the folder run must end with /
      {"day1/**", "day1/a/b.obs", true},
      {"day1/**", "day1x/b.obs", false},
      {"day1/**/b.obs", "day1/b.obs", true},
      {"day1/**/b.obs", "day1/x/y/b.obs", true},
      {"a**z", "a/b/z", true},  // ** inside a part crosses / too
      {"***/*.obs", "x/y.obs", true},
      {"?.jpg", "a.jpg", true},
      {"?.jpg", "ab.jpg", false},
      {"a?b", "a/b", false},  // ? is no /
      {"._*", "._DJI_0001.JPG", true},
      {"**/._*", "sub/._DJI_0001.JPG", true},
      {"*", "", true},
      {"", "", true},
      {"", "a", false},
      {"[ab].jpg", "[ab].jpg", true},  // no classes: [ is itself
      {"*.jpg", "DJI_0001.JPG", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(matchesIgnorePattern(c.pattern, c.path), c.matches)
        << c.pattern << " on " << c.path;
  }
}

// Many stars against a long path that almost matches: backtracking would take ages.
TEST(IgnorePattern, ManyStarsStayCheap) {
  const std::string path(4000, 'a');
  std::string pattern;
  for (int i = 0; i < 200; ++i) pattern += "*a";
  EXPECT_FALSE(matchesIgnorePattern(pattern + "b", path));
  EXPECT_TRUE(matchesIgnorePattern(pattern, path));
  EXPECT_FALSE(matchesIgnorePattern("**/**/**/**/**/**/**/**/b", path + "/a"));
}

}  // namespace
