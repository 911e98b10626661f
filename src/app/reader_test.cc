#include "app/reader.h"

#include <gtest/gtest.h>

namespace {

TEST(Reader, ChineseOnlyForAChineseLocaleOnATerminalThatShowsIt) {
  struct Case {
    const char* locale;
    bool moreThanAscii;
    Language language;
    bool asciiOnly;
  };
  const Case cases[] = {
      {"zh_CN.UTF-8", true, Language::chinese, false},
      {"zh_TW.UTF-8", true, Language::chinese, false},
      {"zh_CN.GBK", true, Language::chinese, false},
      {"zh", true, Language::chinese, false},
      {"zh@variant", true, Language::chinese, false},
      {"en_US.UTF-8", true, Language::english, false},
      {"C.UTF-8", true, Language::english, false},
      {"", true, Language::english, false},
      {"zu_ZA.UTF-8", true, Language::english, false},  // Zulu, not Chinese
      {"zhx", true, Language::english, false},
      // A Chinese locale the system lacks falls back to ASCII: English, not "???".
      {"zh_CN.UTF-8", false, Language::english, true},
      {"C", false, Language::english, true},
      {"POSIX", false, Language::english, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.locale) + (c.moreThanAscii ? "" : " (ASCII)"));
    const Reader reader = readerFor(c.locale, c.moreThanAscii);
    EXPECT_EQ(reader.language, c.language);
    EXPECT_EQ(reader.asciiOnly, c.asciiOnly);
  }
}

}  // namespace
