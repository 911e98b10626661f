#include "report/html_text.h"

#include <cstddef>

namespace {

void appendByteEscape(unsigned char byte, std::string& page) {
  const char* digits = "0123456789ABCDEF";
  page += "\\x";
  page += digits[byte >> 4];
  page += digits[byte & 0xF];
}

// The length of the well-formed UTF-8 character at the start of `text` (no overlong
// form, no surrogate, nothing past U+10FFFF), or 0.
std::size_t characterLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// C1 controls (U+0080 to U+009F), which a browser shows as nothing or as garbage.
bool isC1Control(std::string_view character) {
  return character.size() == 2 && static_cast<unsigned char>(character[0]) == 0xC2 &&
         static_cast<unsigned char>(character[1]) < 0xA0;
}

}  // namespace

void appendHtml(std::string_view text, std::string& page) {
  std::size_t at = 0;
  while (at < text.size()) {
    const char c = text[at];
    const std::size_t length = characterLength(text.substr(at));
    if (length == 0 || (length == 1 && (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)) ||
        isC1Control(text.substr(at, length))) {
      // One byte at a time: what follows a stray byte may be a character again.
      appendByteEscape(static_cast<unsigned char>(c), page);
      ++at;
      continue;
    }
    switch (c) {
      case '&':
        page += "&amp;";
        break;
      case '<':
        page += "&lt;";
        break;
      case '>':
        page += "&gt;";
        break;
      case '"':
        page += "&quot;";
        break;
      case '\'':
        page += "&#39;";
        break;
      default:
        page.append(text.substr(at, length));
    }
    at += length;
  }
}

std::string html(std::string_view text) {
  std::string page;
  appendHtml(text, page);
  return page;
}

void startLineInBlocks(std::size_t line, std::size_t lines, std::string_view preClass,
                       std::string& page) {
  if (line % kLinesPerBlock != 0) return;
  if (line > 0) page += "</pre>";
  page += "<pre class=\"";
  page += preClass;
  page += lines > kLinesPerBlock ? " long\">" : "\">";
}
