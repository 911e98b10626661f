#include "common/console.h"

#include <cstdio>
#include <string>

void PlainConsole::write(const Piece* pieces, std::size_t count) {
  // The stream gathers the pieces; the flush writes the line at once.
  // An empty piece may be a view of nothing, whose data is null: fwrite must not see it.
  for (std::size_t i = 0; i < count; ++i) {
    if (pieces[i].bytes.empty()) continue;
    std::fwrite(pieces[i].bytes.data(), 1, pieces[i].bytes.size(), stdout);
  }
  std::fputc('\n', stdout);
  std::fflush(stdout);
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
  std::fflush(stdout);
}
