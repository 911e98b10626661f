#include <windows.h>

#include "platform/shown_characters.h"
#include "platform/terminal.h"

namespace platform {

namespace {

// The code page of the program's own texts.
constexpr UINT kGbkCodePage = 936;

// Up to 4 bytes of one character in `codePage` as UTF-16; 0 when they are none.
int decode(UINT codePage, const char* bytes, int length, wchar_t* wide) {
  return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, wide, 2);
}

void appendUtf8(const wchar_t* wide, int length, std::string& line) {
  char utf8[8];
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8, sizeof utf8, nullptr, nullptr);
  line.append(utf8, static_cast<std::size_t>(size > 0 ? size : 0));
}

// The line is built in UTF-8 and written as wide characters, which the console shows
// whatever its code page.
class WindowsTerminal final : public Terminal {
 public:
  explicit WindowsTerminal(UINT outsideCodePage) : outsideCodePage_(outsideCodePage) {}

  void appendOwn(std::string_view gbk, std::string& line) override {
    appendCharacters(kGbkCodePage, gbk, line, false);
  }
  void appendOutside(std::string_view bytes, std::string& line) override {
    appendCharacters(outsideCodePage_, bytes, line, true);
  }
  void writeLine(const std::string& line) override {
    const std::string whole = line + '\n';
    std::wstring wide(whole.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, whole.data(), static_cast<int>(whole.size()),
                                           wide.data(), static_cast<int>(wide.size()));
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    for (int done = 0; done < length; done += static_cast<int>(written)) {
      if (!WriteConsoleW(output, wide.data() + done, static_cast<DWORD>(length - done), &written,
                         nullptr) ||
          written == 0) {
        return;
      }
    }
  }

 private:
  // Character by character, so that one byte that is none shows as \xHH and the rest
  // as they are. Own texts stand in "?" for such a byte, as on POSIX.
  static void appendCharacters(UINT codePage, std::string_view bytes, std::string& line,
                               bool fromOutside) {
    std::size_t next = 0;
    while (next < bytes.size()) {
      wchar_t wide[2];
      int units = 0;
      int length = 1;
      for (; length <= 4 && next + static_cast<std::size_t>(length) <= bytes.size(); ++length) {
        units = decode(codePage, bytes.data() + next, length, wide);
        if (units > 0) break;
      }
      if (units == 0) {
        if (fromOutside) appendEscaped(static_cast<unsigned char>(bytes[next]), line);
        else line += '?';
        ++next;
        continue;
      }
      const std::uint32_t c = units == 2 ? 0x10000 + ((wide[0] - 0xD800u) << 10) + (wide[1] - 0xDC00u)
                                         : wide[0];
      if (fromOutside && hidesOrMoves(c)) {
        for (int i = 0; i < length; ++i) {
          appendEscaped(static_cast<unsigned char>(bytes[next + static_cast<std::size_t>(i)]), line);
        }
      } else {
        appendUtf8(wide, units, line);
      }
      next += static_cast<std::size_t>(length);
    }
  }

  const UINT outsideCodePage_;
};

}  // namespace

bool outputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

std::unique_ptr<Terminal> terminalForCodePage(unsigned codePage) {
  return std::make_unique<WindowsTerminal>(codePage);
}

std::unique_ptr<Terminal> standardOutputTerminal() { return terminalForCodePage(GetACP()); }

}  // namespace platform
