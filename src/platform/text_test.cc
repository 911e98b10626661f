#include "platform/text.h"

#include <gtest/gtest.h>

#include <set>

#include "common/messages.h"
#include "platform/characters.h"
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

namespace {

// UTF-8 at each boundary of its lengths: the longest of one length and the shortest of
// the next, never an overlong form.
TEST(Characters, Utf8TakesTheShortestFormAtEveryBoundary) {
  const std::pair<std::uint32_t, std::string> cases[] = {
      {0x7F, "\x7f"},
      {0x80, "\xc2\x80"},
      {0x7FF, "\xdf\xbf"},
      {0x800, "\xe0\xa0\x80"},
      {0xFFFF, "\xef\xbf\xbf"},
      {0x10000, "\xf0\x90\x80\x80"},
      {0x10FFFF, "\xf4\x8f\xbf\xbf"},
  };
  for (const auto& [c, bytes] : cases) {
    std::string text;
    platform::appendUtf8(c, text);
    EXPECT_EQ(text, bytes) << std::hex << c;
  }
}

// Names in the UTF-8 files: readable where they can be, and never two alike. Run where
// names are read as UTF-8 (POSIX without a locale of another codeset).
TEST(OutsideText, NamesShowReadablyAndNeverAlike) {
  if (platform::outsideToUtf8("\xe8\x88\xaa") != "\xe8\x88\xaa") {
    GTEST_SKIP() << "names are not read as UTF-8 here";
  }
  const std::pair<std::string, std::string> cases[] = {
      {"plain name (1).JPG", "plain name (1).JPG"},
      {"\xe8\x88\xaa\xe6\x8b\x8d.jpg", "航拍.jpg"},  // UTF-8, though also GBK bytes
      {"\xba\xbd\xc5\xc4.jpg", "航拍.jpg"},          // GBK
      {"\xba\xbd\xc5\xc5.jpg", "航排.jpg"},
      {"\x81\x5c.jpg", "乗.jpg"},      // a GBK trail byte that is a backslash in ASCII
      {"\x81\x5c\\.jpg", "乗\\\\.jpg"},  // and a backslash after it
      {"\xff\xfe.jpg", "\\xFF\\xFE.jpg"},
      {"\\xFF\\xFE.jpg", "\\\\xFF\\\\xFE.jpg"},  // the text an escape stands for
      {"a\\b", "a\\\\b"},
      {"\xe8\x88\xaa\xff", "航\\xFF"},  // neither UTF-8 nor GBK: only the stray byte
      {"\xba\xbd\xc5", "\\xBA\\xBD\\xC5"},  // GBK cut short
      {"\x81\x7f", "\\x81\\x7F"},           // no GBK pair: DEL as a trail byte
      {"tab\there", "tab\\x09here"},
      {"next\xc2\x85line", "next\\xC2\\x85line"},  // U+0085, a C1 control
      {"\x1b[2J", "\\x1B[2J"},
      {"del\x7f.jpg", "del\\x7F.jpg"},  // DEL, just past printable ASCII
  };
  std::set<std::string> shown;
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(platform::outsideToUtf8(bytes), text) << bytes;
    if (bytes != "\xe8\x88\xaa\xe6\x8b\x8d.jpg") {
      EXPECT_TRUE(shown.insert(text).second) << text << " shows like another name";
    }
  }
  // A path keeps its separators; only a name's own backslash is doubled.
  EXPECT_EQ(platform::outsidePathToUtf8("sub/\xba\xbd\\.jpg"), "sub/航\\\\.jpg");
}

}  // namespace
