#include "report/html_text.h"

#include <gtest/gtest.h>

namespace {

TEST(Html, MarkupAndBrokenBytesBecomeText) {
  const struct {
    std::string text;
    std::string shown;
  } cases[] = {
      {"DJI_0001.JPG", "DJI_0001.JPG"},
      {"<img src=x onerror=alert(1)>.jpg", "&lt;img src=x onerror=alert(1)&gt;.jpg"},
      {"a\" onmouseover='x'&b", "a&quot; onmouseover=&#39;x&#39;&amp;b"},
      {"&lt;", "&amp;lt;"},
      // Well-formed UTF-8 stays as it is, of every length.
      {"\xe5\xbd\xb1\xe5\x83\x8f \xc3\xa9 \xf0\x9f\x9b\xb8", "\xe5\xbd\xb1\xe5\x83\x8f \xc3\xa9 \xf0\x9f\x9b\xb8"},
      // GBK bytes, a lone continuation byte, a cut character, an overlong "<", a
      // surrogate and a code point past U+10FFFF: each byte shown, the rest kept.
      {"\xb7\xd6.jpg", "\\xB7\\xD6.jpg"},
      {"a\x80" "b", "a\\x80b"},
      {"\xe5\xbd", "\\xE5\\xBD"},
      {"\xc0\xbc", "\\xC0\\xBC"},
      {"\xed\xa0\x80", "\\xED\\xA0\\x80"},
      {"\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
      {"\xe5<", "\\xE5&lt;"},
      // Controls, which could break a line or hide text.
      {std::string("a\nb\tc\0d", 7), "a\\x0Ab\\x09c\\x00d"},
      {"\x1b[2J\x7f\xc2\x85", "\\x1B[2J\\x7F\\xC2\\x85"},
  };
  for (const auto& c : cases) EXPECT_EQ(html(c.text), c.shown) << c.text;
}

}  // namespace
