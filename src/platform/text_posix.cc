#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>

#include <vector>

#include "platform/characters.h"
#include "platform/outside_text.h"
#include "platform/text.h"

namespace platform {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
const locale_t kNoLocale = static_cast<locale_t>(nullptr);

// Calls take(bytes, character, printable) for each character of `bytes` as `locale`
// reads them. A byte that is none there (not a character, a NUL, or cut short) comes
// alone, with `character` false.
template <typename Take>
void forEachCharacter(locale_t locale, std::string_view bytes, Take take) {
  // The conversion functions read the thread's locale: `locale`, for the call.
  const locale_t previous = uselocale(locale);
  std::mbstate_t state{};
  std::size_t next = 0;
  while (next < bytes.size()) {
    wchar_t c = 0;
    std::size_t length = std::mbrtowc(&c, bytes.data() + next, bytes.size() - next, &state);
    const bool character = length != 0 && length <= bytes.size() - next;
    if (!character) {
      length = 1;
      state = std::mbstate_t{};
    }
    const bool printable = character && std::iswprint(static_cast<wint_t>(c)) != 0;
    take(bytes.substr(next, length), character ? static_cast<std::uint32_t>(c) : 0, printable);
    next += length;
  }
  uselocale(previous);
}

// Stands in "?" for the GBK character at `in`, of one byte or two, and steps past it.
void replaceCharacter(const char*& in, std::size_t& inLeft, std::string& line) {
  line += '?';
  const std::size_t length = static_cast<unsigned char>(*in) >= 0x81 && inLeft >= 2 ? 2 : 1;
  in += length;
  inLeft -= length;
}

class PosixTerminal final : public Terminal {
 public:
  // Takes `locale`, which it frees.
  explicit PosixTerminal(locale_t locale)
      : locale_(locale), fromGbk_(iconv_open(nl_langinfo_l(CODESET, locale), "GBK")) {}
  ~PosixTerminal() override {
    if (fromGbk_ != kNoConverter) iconv_close(fromGbk_);
    freelocale(locale_);
  }
  PosixTerminal(const PosixTerminal&) = delete;
  PosixTerminal& operator=(const PosixTerminal&) = delete;

  void appendOwn(std::string_view gbk, std::string& line) override;

  void appendOutside(std::string_view bytes, std::string& line) override {
    forEachCharacter(locale_, bytes,
                     [&](std::string_view character, std::uint32_t c, bool printable) {
                       if (printable && !hidesOrMoves(c)) {
                         line += character;
                         return;
                       }
                       for (const char byte : character)
                         appendEscaped(static_cast<unsigned char>(byte), line);
                     });
  }

  void writeLine(const std::string& line) override {
    const std::string whole = line + '\n';
    std::fwrite(whole.data(), 1, whole.size(), stdout);
    std::fflush(stdout);
  }

 private:
  locale_t locale_;
  iconv_t fromGbk_;  // kNoConverter when the system cannot convert to the codeset
};

void PosixTerminal::appendOwn(std::string_view gbk, std::string& line) {
  const char* in = gbk.data();
  std::size_t inLeft = gbk.size();
  if (fromGbk_ == kNoConverter) {  // ASCII still shows
    while (inLeft > 0) {
      if (static_cast<unsigned char>(*in) >= 0x80) {
        replaceCharacter(in, inLeft, line);
        continue;
      }
      line += *in++;
      --inLeft;
    }
    return;
  }
  iconv(fromGbk_, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    char converted[256];
    char* out = converted;
    std::size_t outLeft = sizeof converted;
    const std::size_t result = iconv(fromGbk_, const_cast<char**>(&in), &inLeft, &out, &outLeft);
    line.append(converted, static_cast<std::size_t>(out - converted));
    // Not E2BIG: a character the codeset lacks (or no GBK at all, or cut short).
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      replaceCharacter(in, inLeft, line);
    }
  }
}

// The locale in which names are read for files in UTF-8: the environment's, or UTF-8
// when that is the classic one (or none the system has). Made once, kept for the run.
locale_t namesLocale() {
  static const locale_t locale = [] {
    locale_t chosen = newlocale(LC_CTYPE_MASK, "", kNoLocale);
    if (chosen == kNoLocale || std::strcmp(nl_langinfo_l(CODESET, chosen), "ANSI_X3.4-1968") == 0) {
      const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", kNoLocale);
      if (utf8 != kNoLocale && chosen != kNoLocale) freelocale(chosen);
      if (utf8 != kNoLocale) chosen = utf8;
    }
    return chosen != kNoLocale ? chosen : newlocale(LC_CTYPE_MASK, "C", kNoLocale);
  }();
  return locale;
}

}  // namespace

bool outputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

bool errorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

void writeToErrorTerminal(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

std::string readerLocaleName() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return std::string();
}

bool terminalShowsMoreThanAscii() {
  const locale_t locale = newlocale(LC_CTYPE_MASK, "", kNoLocale);
  if (locale == kNoLocale) return false;  // the classic locale stands in: ASCII
  const std::string codeset = nl_langinfo_l(CODESET, locale);
  freelocale(locale);
  return codeset == "UTF-8" || codeset == "GBK" || codeset == "GB18030" || codeset == "GB2312";
}

// Terminals here read the colour sequences as they are.
bool enableTerminalColours() { return true; }

std::unique_ptr<Terminal> terminalForLocale(const char* name) {
  const locale_t locale = newlocale(LC_ALL_MASK, name, kNoLocale);
  if (locale == kNoLocale) return nullptr;
  return std::make_unique<PosixTerminal>(locale);
}

std::unique_ptr<Terminal> standardOutputTerminal() {
  std::unique_ptr<Terminal> terminal = terminalForLocale("");
  // An environment that names a locale the system lacks gets the classic one.
  return terminal != nullptr ? std::move(terminal) : terminalForLocale("C");
}

namespace {

std::vector<OutsideCharacter> namedCharacters(std::string_view bytes) {
  std::vector<OutsideCharacter> characters;
  forEachCharacter(namesLocale(), bytes,
                   [&](std::string_view character, std::uint32_t c, bool) {
                     characters.push_back(OutsideCharacter{character, c, c != 0});
                   });
  return characters;
}

}  // namespace

// A name holds no slash, the separator, and may hold a backslash: no character is kept.
std::string outsideToUtf8(std::string_view bytes) {
  if (showsAsItIs(bytes, 0)) return std::string(bytes);
  return outsideTextToUtf8(bytes, namedCharacters(bytes), 0);
}

std::string outsidePathToUtf8(std::string_view path) { return outsideToUtf8(path); }

}  // namespace platform
