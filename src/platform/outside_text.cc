#include "platform/outside_text.h"

#include "platform/characters.h"
#include "platform/gbk.h"

namespace platform {

namespace {

// A character for a file people open, where the escapes must stay reversible.
void appendShown(std::uint32_t c, std::uint32_t separator, std::string& text) {
  if (c == '\\' && c != separator) {
    text += "\\\\";
    return;
  }
  if (!isControl(c)) {
    appendUtf8(c, text);
    return;
  }
  std::string encoded;
  appendUtf8(c, encoded);
  for (const char byte : encoded) appendEscaped(static_cast<unsigned char>(byte), text);
}

// `bytes` as GBK into `text`; false, with `text` untouched, when they are not GBK.
bool appendGbk(std::string_view bytes, std::uint32_t separator, std::string& text) {
  std::string decoded;
  for (std::size_t at = 0; at < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) {
      if (lead == 0) return false;
      appendShown(lead, separator, decoded);
      ++at;
      continue;
    }
    if (at + 1 == bytes.size()) return false;
    const std::uint32_t c = gbkCharacter(lead, static_cast<unsigned char>(bytes[at + 1]));
    if (c == 0) return false;
    appendShown(c, separator, decoded);
    at += 2;
  }
  text += decoded;
  return true;
}

}  // namespace

bool showsAsItIs(std::string_view bytes, std::uint32_t separator) {
  for (const char byte : bytes) {
    if (byte < 0x20 || byte > 0x7E) return false;
    if (byte == '\\' && separator != '\\') return false;
  }
  return true;
}

std::string outsideTextToUtf8(std::string_view bytes,
                              const std::vector<OutsideCharacter>& characters,
                              std::uint32_t separator) {
  std::string text;
  bool allValid = true;
  for (const OutsideCharacter& character : characters) allValid = allValid && character.valid;
  if (!allValid && appendGbk(bytes, separator, text)) return text;
  for (const OutsideCharacter& character : characters) {
    if (character.valid) {
      appendShown(character.c, separator, text);
      continue;
    }
    for (const char byte : character.bytes) appendEscaped(static_cast<unsigned char>(byte), text);
  }
  return text;
}

}  // namespace platform
