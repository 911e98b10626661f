// Who reads the terminal: in which language, and whether the terminal shows anything
// beyond ASCII.
#ifndef PRECHECK_APP_READER_H_
#define PRECHECK_APP_READER_H_

#include <string>

#include "common/bilingual.h"

struct Reader {
  Language language = Language::english;
  bool asciiOnly = false;
};

// Chinese when the locale's language is Chinese ("zh", "zh_CN.UTF-8", "zh_TW") and the
// terminal can show it; English otherwise, in ASCII only on a terminal that shows no
// more, so that no text turns into a run of "?".
Reader readerFor(const std::string& localeName, bool moreThanAscii);

// The reader of this run's terminal.
Reader readerOfTerminal();

#endif  // PRECHECK_APP_READER_H_
