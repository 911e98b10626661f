#include "common/console.h"

#include <cstdarg>
#include <cstdio>
#include <string>

void PlainConsole::write(const Piece* pieces, std::size_t count) {
  // The stream gathers the pieces and the lines; flush() writes them out.
  // An empty piece may be a view of nothing, whose data is null: fwrite must not see it.
  for (std::size_t i = 0; i < count; ++i) {
    if (pieces[i].bytes.empty()) continue;
    std::fwrite(pieces[i].bytes.data(), 1, pieces[i].bytes.size(), stdout);
  }
  std::fputc('\n', stdout);
}

void Console::writeLong(const LongText& text) {
  std::string line;
  text([&](std::string_view piece) { line += piece; });
  writeLine({outside(line)});
}

void PlainConsole::writeLong(const LongText& text) {
  text([](std::string_view piece) {
    if (!piece.empty()) std::fwrite(piece.data(), 1, piece.size(), stdout);
  });
  std::fputc('\n', stdout);
}

void PlainConsole::flush() { std::fflush(stdout); }

void bufferStandardOutput() {
  // As large as a few hundred lines: a flush then costs one call for all of them.
  static char buffer[64 * 1024];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

void printErrorLine(const char* format, ...) {
  std::fflush(stdout);
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(stderr, format, arguments);
  va_end(arguments);
}
