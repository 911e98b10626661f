#include "platform/text.h"

#include <gtest/gtest.h>

#include "common/messages.h"
#include "gbk_text.h"

namespace {

// A terminal whose lines come out as UTF-8, and a Chinese file name as the system
// gives it: on POSIX a UTF-8 locale's bytes, on Windows the ANSI code page 936's.
#ifdef _WIN32
std::unique_ptr<platform::Terminal> utf8Terminal() { return platform::terminalForCodePage(936); }
const std::string kChineseName = "\xba\xbd\xc5\xc4.jpg";
#else
std::unique_ptr<platform::Terminal> utf8Terminal() {
  return platform::terminalForLocale("C.UTF-8");
}
const std::string kChineseName = "\xe8\x88\xaa\xe6\x8b\x8d.jpg";
#endif

TEST(TerminalText, OwnTextsAreConvertedFromGbk) {
  const std::unique_ptr<platform::Terminal> terminal = utf8Terminal();
  ASSERT_NE(terminal, nullptr);
  for (const char* text : {messages::kStartGpsCheck, messages::kAllClear, messages::kOffendingName,
                           messages::kNumberOfImages}) {
    std::string line = "> ";
    terminal->appendOwn(text, line);
    EXPECT_EQ(line, "> " + gbkToUtf8(text));
  }
}

TEST(TerminalText, OutsideBytesShowAsTheyAreUnlessTheyMoveTheCursorOrAreNoCharacter) {
  const std::unique_ptr<platform::Terminal> terminal = utf8Terminal();
  ASSERT_NE(terminal, nullptr);
  const std::pair<std::string, std::string> cases[] = {
      {kChineseName, "\xe8\x88\xaa\xe6\x8b\x8d.jpg"},
      {"plain name (1).JPG", "plain name (1).JPG"},
      {"clear\x1b[2J", "clear\\x1B[2J"},
      {"a\nb\tc\rd\x7f", "a\\x0Ab\\x09c\\x0Dd\\x7F"},
      {std::string("nul\0.jpg", 8), "nul\\x00.jpg"},
      {"cut\xba", "cut\\xBA"},
#ifndef _WIN32
      // Characters of UTF-8 that no code page 936 has: a byte-order mark and a mark that
      // reorders text.
      {"\xef\xbb\xbf" "1focal", "\\xEF\\xBB\\xBF" "1focal"},
      {"photo\xe2\x80\xaegpj.exe", "photo\\xE2\\x80\\xAEgpj.exe"},
#endif
  };
  for (const auto& [bytes, shown] : cases) {
    std::string line;
    terminal->appendOutside(bytes, line);
    EXPECT_EQ(line, shown);
  }
}

}  // namespace
