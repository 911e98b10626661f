// Texts for people at a terminal, each in the two languages the program speaks: Chinese
// for readers whose locale says so, English for everyone else. Transcripts for a
// pipeline never use them (see messages.h).
#ifndef PRECHECK_COMMON_BILINGUAL_H_
#define PRECHECK_COMMON_BILINGUAL_H_

#include <cstddef>
#include <initializer_list>
#include <string>

enum class Language { english, chinese };

// The Chinese in GBK, as the program's other texts; the English in ASCII, so that a
// terminal that shows nothing else still reads it whole. "{1}", "{2}" stand for the
// values `fill` puts in, in the order each language needs them.
struct Bilingual {
  const char* chinese;
  const char* english;
  const char* englishForOne = nullptr;  // when English says a count of one otherwise
};

// The text in `language`; `count` picks English's singular.
const char* textIn(const Bilingual& text, Language language, std::size_t count = 0);

// `text` with "{1}" replaced by the first value, "{2}" by the second.
std::string fill(const char* text, std::initializer_list<std::string> values);

// textIn and fill at once, with the first value as the count.
std::string counted(const Bilingual& text, Language language, std::size_t count);
std::string counted(const Bilingual& text, Language language, std::size_t count,
                    std::size_t of);

#endif  // PRECHECK_COMMON_BILINGUAL_H_
