#include "app/terminal_console.h"

#include <string>

void TerminalConsole::write(const Piece* pieces, std::size_t count) {
  std::string line;
  for (std::size_t i = 0; i < count; ++i) {
    if (pieces[i].fromOutside) {
      terminal_->appendOutside(pieces[i].bytes, line);
    } else {
      terminal_->appendOwn(pieces[i].bytes, line);
    }
  }
  terminal_->writeLine(line);
}
