#include "common/console.h"

#include <cstdio>
#include <string>

void PlainConsole::writeLine(std::initializer_list<Piece> pieces) {
  // One write per line: a reader never sees half of one.
  std::string line;
  for (const Piece& piece : pieces) line += piece.bytes;
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}
