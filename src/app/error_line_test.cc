#include "app/error_line.h"

#include <gtest/gtest.h>

namespace {

// What a line on standard error shows of bytes from outside.
TEST(OneLine, EscapesWhatATerminalLineMustNotCarry) {
  const std::pair<std::string, std::string> cases[] = {
      {"DJI_0001.JPG", "DJI_0001.JPG"},
      {"a\nb\rc\td", "a\\x0Ab\\x0Dc\\x09d"},
      {"\x1b[2J", "\\x1B[2J"},
      {"del\x7f", "del\\x7F"},
      // Reordering marks and characters of no width, in UTF-8.
      {"photo\xE2\x80\xAEgpj.exe", "photo\\xE2\\x80\\xAEgpj.exe"},
      {"\xEF\xBB\xBFkey", "\\xEF\\xBB\\xBFkey"},
      {"a\xE2\x80\x8B" "b", "a\\xE2\\x80\\x8Bb"},
      {"next\xC2\x85line", "next\\xC2\\x85line"},  // C1 control NEL
      // Characters that show as themselves, and bytes of other encodings, pass.
      {"\xE5\xBD\xB1\xE5\x83\x8F.jpg", "\xE5\xBD\xB1\xE5\x83\x8F.jpg"},
      {"\xD3\xB0\xCF\xF1.jpg", "\xD3\xB0\xCF\xF1.jpg"},  // GBK
      {"cut\xE2\x80", "cut\xE2\x80"},                    // a sequence cut short
      {"\xE0\x80\xAE", "\xE0\x80\xAE"},                  // overlong: no character
  };
  for (const auto& [bytes, shown] : cases) EXPECT_EQ(oneLine(bytes), shown) << bytes;
}

}  // namespace
