#include "common/console.h"

#include <cstdio>
#include <string>

void PlainConsole::write(const Piece* pieces, std::size_t count) {
  // One write per line: a reader never sees half of one.
  std::string line;
  for (std::size_t i = 0; i < count; ++i) line += pieces[i].bytes;
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}
