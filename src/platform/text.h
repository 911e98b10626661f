// Text for people: the terminal on standard output, and UTF-8 for the files they open.
// The program's own texts are GBK; bytes from outside (file names, camera makes,
// configuration values) are whatever the system and the files give.
#ifndef PRECHECK_PLATFORM_TEXT_H_
#define PRECHECK_PLATFORM_TEXT_H_

#include <memory>
#include <string>
#include <string_view>

namespace platform {

// Whether standard output is a terminal (POSIX) or a console (Windows).
bool outputIsTerminal();

// Whether standard error is a terminal (POSIX) or a console (Windows).
bool errorIsTerminal();

// Writes `text`, built by a Terminal, to standard error as it is and with no line
// break: for a line that is drawn again in place.
void writeToErrorTerminal(const std::string& text);

// The locale name that says which language the person reads: the first of LC_ALL,
// LC_MESSAGES and LANG that is set and not empty; on Windows, when none is, "zh" when
// the user's interface language is Chinese, else "en". Empty when nothing says.
std::string readerLocaleName();

// Whether the terminal shows characters beyond ASCII: on POSIX, whether the codeset of
// the environment's locale is UTF-8 or one of China's; the Windows console always does.
bool terminalShowsMoreThanAscii();

// Lets the terminal of standard output show colours; false when it cannot.
bool enableTerminalColours();

class Terminal {
 public:
  virtual ~Terminal() = default;

  // Appends the program's own text, GBK bytes and ASCII, to `line` in the terminal's
  // encoding; a character that the encoding lacks becomes "?".
  virtual void appendOwn(std::string_view gbk, std::string& line) = 0;

  // Appends bytes from outside: every character that the terminal can show, as it
  // is; a control character, a mark that reorders text, and a byte that is no
  // character of the terminal's encoding as \xHH, byte by byte. So no name can move
  // the cursor, clear the screen or fake a line.
  virtual void appendOutside(std::string_view bytes, std::string& line) = 0;

  // Writes `line` and a line break to standard output, whole and at once.
  virtual void writeLine(const std::string& line) = 0;
};

// The terminal of standard output. On POSIX its encoding is the codeset of the locale
// that the environment names; on Windows lines go out as wide characters, right
// whatever the console's code page, and outside bytes are read in the ANSI code page.
std::unique_ptr<Terminal> standardOutputTerminal();

// For tests: the same with the encoding given; `line` is built but written nowhere
// unless writeLine is called. POSIX: a locale name, null when the system has no such
// locale; `line` is in its codeset. Windows: the code page of outside bytes; `line`
// is UTF-8.
#ifdef _WIN32
std::unique_ptr<Terminal> terminalForCodePage(unsigned codePage);
#else
std::unique_ptr<Terminal> terminalForLocale(const char* name);
#endif

// Bytes from outside as UTF-8 for the files people open, so that no two texts show
// alike. Read as the system gives names (the codeset of the environment's locale on
// POSIX, UTF-8 under the classic locale, which says nothing about names; the ANSI code
// page on Windows) when every character is one there; else as GBK when the whole text
// is GBK (names from Chinese Windows machines); else each byte that is no character
// shows as \xHH. Control characters show as \xHH of their UTF-8, and a backslash as
// \\, so that every escape can be told from the text it stands in.
std::string outsideToUtf8(std::string_view bytes);

// The same for a path, whose separators stay as they are (on Windows a backslash,
// which no name holds).
std::string outsidePathToUtf8(std::string_view path);

}  // namespace platform

#endif  // PRECHECK_PLATFORM_TEXT_H_
