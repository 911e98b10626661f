// How a correct run looks on this platform, for tests that compare bytes: Windows
// writes standard output in text mode and joins paths with a backslash.
#ifndef PRECHECK_TESTS_SUPPORT_PLATFORM_CONVENTIONS_H_
#define PRECHECK_TESTS_SUPPORT_PLATFORM_CONVENTIONS_H_

#include <string>

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// `text` as it reaches a reader of the program's standard output: on Windows each
// "\n" the program writes arrives as "\r\n".
inline std::string withConsoleLineEnds(const std::string& text) {
#ifdef _WIN32
  std::string converted;
  for (char c : text) converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return converted;
#else
  return text;
#endif
}

#endif  // PRECHECK_TESTS_SUPPORT_PLATFORM_CONVENTIONS_H_
