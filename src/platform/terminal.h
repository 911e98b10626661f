// Standard output when a person reads it on a terminal: the program's own texts in
// the terminal's encoding, and bytes from outside (file names, camera makes, values)
// shown so that none can move the cursor, clear the screen or fake a line.
#ifndef PRECHECK_PLATFORM_TERMINAL_H_
#define PRECHECK_PLATFORM_TERMINAL_H_

#include <memory>
#include <string>
#include <string_view>

namespace platform {

// Whether standard output is a terminal (POSIX) or a console (Windows).
bool outputIsTerminal();

class Terminal {
 public:
  virtual ~Terminal() = default;

  // Appends the program's own text, GBK bytes and ASCII, to `line` in the terminal's
  // encoding; a character that the encoding lacks becomes "?".
  virtual void appendOwn(std::string_view gbk, std::string& line) = 0;

  // Appends bytes from outside: every character that the terminal can show, as it
  // is; a control character, a mark that reorders text, and a byte that is no
  // character of the terminal's encoding as \xHH, byte by byte.
  virtual void appendOutside(std::string_view bytes, std::string& line) = 0;

  // Writes `line` and a line break to standard output, whole and at once.
  virtual void writeLine(const std::string& line) = 0;
};

// The terminal of standard output. On POSIX its encoding is the codeset of the locale
// that the environment names; on Windows lines go out as wide characters, right
// whatever the console's code page, and outside bytes are read in the ANSI code page.
std::unique_ptr<Terminal> standardOutputTerminal();

// For tests: the same with the encoding given, and lines built but never written
// anywhere else than in the tests' hands. POSIX: a locale name, null when the system
// has no such locale; `line` is in its codeset. Windows: the code page of outside
// bytes; `line` is UTF-8.
#ifdef _WIN32
std::unique_ptr<Terminal> terminalForCodePage(unsigned codePage);
#else
std::unique_ptr<Terminal> terminalForLocale(const char* name);
#endif

}  // namespace platform

#endif  // PRECHECK_PLATFORM_TERMINAL_H_
