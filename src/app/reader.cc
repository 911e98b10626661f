#include "app/reader.h"

#include "platform/text.h"

Reader readerFor(const std::string& localeName, bool moreThanAscii) {
  Reader reader;
  reader.asciiOnly = !moreThanAscii;
  const bool chinese = localeName.compare(0, 2, "zh") == 0 &&
                       (localeName.size() == 2 || localeName[2] == '_' || localeName[2] == '.' ||
                        localeName[2] == '@');
  if (chinese && moreThanAscii) reader.language = Language::chinese;
  return reader;
}

Reader readerOfTerminal() {
  return readerFor(platform::readerLocaleName(), platform::terminalShowsMoreThanAscii());
}
