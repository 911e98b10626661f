#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cwchar>
#include <cwctype>

#include "platform/shown_characters.h"
#include "platform/terminal.h"

namespace platform {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

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
  void appendOutside(std::string_view bytes, std::string& line) override;
  void writeLine(const std::string& line) override {
    const std::string whole = line + '\n';
    std::fwrite(whole.data(), 1, whole.size(), stdout);
    std::fflush(stdout);
  }

 private:
  locale_t locale_;
  iconv_t fromGbk_;  // kNoConverter when the system cannot convert to the codeset
};

// Stands in "?" for the GBK character at `in`, of one byte or two, and steps past it.
void replaceCharacter(const char*& in, std::size_t& inLeft, std::string& line) {
  line += '?';
  const std::size_t length = static_cast<unsigned char>(*in) >= 0x81 && inLeft >= 2 ? 2 : 1;
  in += length;
  inLeft -= length;
}

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

void PosixTerminal::appendOutside(std::string_view bytes, std::string& line) {
  // The conversion functions read the thread's locale: this terminal's, for the call.
  const locale_t previous = uselocale(locale_);
  std::mbstate_t state{};
  std::size_t next = 0;
  while (next < bytes.size()) {
    wchar_t c = 0;
    const std::size_t length = std::mbrtowc(&c, bytes.data() + next, bytes.size() - next, &state);
    if (length == 0 || length > bytes.size() - next) {  // NUL, not a character, or cut short
      appendEscaped(static_cast<unsigned char>(bytes[next++]), line);
      state = std::mbstate_t{};
      continue;
    }
    if (std::iswprint(static_cast<wint_t>(c)) && !hidesOrMoves(static_cast<std::uint32_t>(c))) {
      line.append(bytes.data() + next, length);
    } else {
      for (std::size_t i = 0; i < length; ++i) {
        appendEscaped(static_cast<unsigned char>(bytes[next + i]), line);
      }
    }
    next += length;
  }
  uselocale(previous);
}

}  // namespace

bool outputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

std::unique_ptr<Terminal> terminalForLocale(const char* name) {
  const locale_t locale = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return nullptr;
  return std::make_unique<PosixTerminal>(locale);
}

std::unique_ptr<Terminal> standardOutputTerminal() {
  std::unique_ptr<Terminal> terminal = terminalForLocale("");
  // An environment that names a locale the system lacks gets the classic one.
  return terminal != nullptr ? std::move(terminal) : terminalForLocale("C");
}

}  // namespace platform
