#include "common/bilingual.h"

const char* textIn(const Bilingual& text, Language language, std::size_t count) {
  if (language == Language::chinese) return text.chinese;
  return count == 1 && text.englishForOne != nullptr ? text.englishForOne : text.english;
}

std::string fill(const char* text, std::initializer_list<std::string> values) {
  std::string filled;
  for (const char* at = text; *at != '\0'; ++at) {
    // A GBK character's second byte may be '{': characters are copied whole.
    if (static_cast<unsigned char>(at[0]) >= 0x81 && at[1] != '\0') {
      filled.append(at, 2);
      ++at;
      continue;
    }
    const std::size_t slot = at[0] == '{' && at[1] >= '1' && at[1] <= '9' && at[2] == '}'
                                 ? static_cast<std::size_t>(at[1] - '1')
                                 : values.size();
    if (slot < values.size()) {
      filled += values.begin()[slot];
      at += 2;
    } else {
      filled += *at;
    }
  }
  return filled;
}

std::string counted(const Bilingual& text, Language language, std::size_t count) {
  return fill(textIn(text, language, count), {std::to_string(count)});
}

std::string counted(const Bilingual& text, Language language, std::size_t count,
                    std::size_t of) {
  return fill(textIn(text, language, of), {std::to_string(count), std::to_string(of)});
}
