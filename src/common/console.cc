#include "common/console.h"

#include <cstdio>

void PlainConsole::write(const Piece* pieces, std::size_t count) {
  // The stream gathers the pieces; the flush writes the line at once.
  for (std::size_t i = 0; i < count; ++i) {
    std::fwrite(pieces[i].bytes.data(), 1, pieces[i].bytes.size(), stdout);
  }
  std::fputc('\n', stdout);
  std::fflush(stdout);
}
