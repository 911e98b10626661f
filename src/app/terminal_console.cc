#include "app/terminal_console.h"

#include <cstdint>
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

void TerminalConsole::writeLong(const LongText& text) {
  constexpr std::size_t kShown = 256;
  std::string start;
  std::uint64_t length = 0;
  text([&](std::string_view piece) {
    if (start.size() < kShown) start += piece.substr(0, kShown - start.size());
    length += piece.size();
  });
  std::string line;
  terminal_->appendOutside(start, line);
  if (length > start.size()) {
    terminal_->appendOwn(" ... (" + std::to_string(length) + " bytes)", line);
  }
  terminal_->writeLine(line);
}
