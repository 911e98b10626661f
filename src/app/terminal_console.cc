#include "app/terminal_console.h"

#include <cstdint>
#include <string>

namespace {

// Bold green and bold red, each ended by a reset.
const char* startOf(Tint tint) { return tint == Tint::good ? "\x1b[1;32m" : "\x1b[1;31m"; }
constexpr char kReset[] = "\x1b[0m";

}  // namespace

void TerminalConsole::write(const Piece* pieces, std::size_t count) {
  std::string line;
  for (std::size_t i = 0; i < count; ++i) {
    const bool coloured = colours_ && pieces[i].tint != Tint::none;
    if (coloured) line += startOf(pieces[i].tint);
    if (pieces[i].fromOutside) {
      terminal_->appendOutside(pieces[i].bytes, line);
    } else {
      terminal_->appendOwn(pieces[i].bytes, line);
    }
    if (coloured) line += kReset;
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
