#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/characters.h"
#include "platform/outside_text.h"
#include "platform/text.h"

namespace platform {

namespace {

// The code page of the program's own texts.
constexpr UINT kGbkCodePage = 936;

// Calls take(bytes, character, valid) for each character of `bytes` in `codePage`. A
// byte that is none there comes alone, with `valid` false.
template <typename Take>
void forEachCharacter(UINT codePage, std::string_view bytes, Take take) {
  std::size_t next = 0;
  while (next < bytes.size()) {
    wchar_t wide[2];
    int units = 0;
    std::size_t length = 1;
    for (; length <= 4 && next + length <= bytes.size(); ++length) {
      units = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data() + next,
                                  static_cast<int>(length), wide, 2);
      if (units > 0) break;
    }
    if (units == 0) length = 1;
    std::uint32_t c = wide[0];
    if (units == 2) c = 0x10000 + ((c - 0xD800u) << 10) + (wide[1] - 0xDC00u);
    take(bytes.substr(next, length), units > 0 ? c : 0, units > 0);
    next += length;
  }
}

// Lines are built in UTF-8 and written as wide characters, which the console shows
// whatever its code page.
class WindowsTerminal final : public Terminal {
 public:
  explicit WindowsTerminal(UINT outsideCodePage) : outsideCodePage_(outsideCodePage) {}

  void appendOwn(std::string_view gbk, std::string& line) override {
    forEachCharacter(kGbkCodePage, gbk, [&](std::string_view, std::uint32_t c, bool valid) {
      if (valid)
        appendUtf8(c, line);
      else
        line += '?';
    });
  }

  void appendOutside(std::string_view bytes, std::string& line) override {
    forEachCharacter(outsideCodePage_, bytes,
                     [&](std::string_view character, std::uint32_t c, bool valid) {
                       if (valid && !hidesOrMoves(c)) {
                         appendUtf8(c, line);
                         return;
                       }
                       for (const char byte : character)
                         appendEscaped(static_cast<unsigned char>(byte), line);
                     });
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
  const UINT outsideCodePage_;
};

}  // namespace

bool outputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

bool errorIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

// The text is UTF-8, as the terminal builds its lines; the console takes it as wide
// characters, whatever its code page.
void writeToErrorTerminal(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  DWORD written = 0;
  for (int done = 0; done < length; done += static_cast<int>(written)) {
    if (!WriteConsoleW(error, wide.data() + done, static_cast<DWORD>(length - done), &written,
                       nullptr) ||
        written == 0) {
      return;
    }
  }
}

std::string readerLocaleName() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? "zh" : "en";
}

bool terminalShowsMoreThanAscii() { return true; }

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

// Consoles since Windows 10 read colour sequences once asked to.
bool enableTerminalColours() {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(output, &mode) == 0) return false;
  return SetConsoleMode(output, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

std::unique_ptr<Terminal> terminalForCodePage(unsigned codePage) {
  return std::make_unique<WindowsTerminal>(codePage);
}

std::unique_ptr<Terminal> standardOutputTerminal() { return terminalForCodePage(GetACP()); }

namespace {

std::vector<OutsideCharacter> namedCharacters(std::string_view bytes) {
  std::vector<OutsideCharacter> characters;
  forEachCharacter(CP_ACP, bytes, [&](std::string_view character, std::uint32_t c, bool valid) {
    characters.push_back(OutsideCharacter{character, valid ? c : 0, valid});
  });
  return characters;
}

}  // namespace

std::string outsideToUtf8(std::string_view bytes) {
  if (showsAsItIs(bytes, 0)) return std::string(bytes);
  return outsideTextToUtf8(bytes, namedCharacters(bytes), 0);
}

std::string outsidePathToUtf8(std::string_view path) {
  if (showsAsItIs(path, '\\')) return std::string(path);
  return outsideTextToUtf8(path, namedCharacters(path), '\\');
}

}  // namespace platform
