// The console for people at a terminal: each piece shown as its kind must be (see
// platform/text.h). Chosen only when standard output is a terminal, so that a
// pipeline still reads the bytes of PlainConsole.
#ifndef PRECHECK_APP_TERMINAL_CONSOLE_H_
#define PRECHECK_APP_TERMINAL_CONSOLE_H_

#include <memory>
#include <utility>

#include "common/console.h"
#include "platform/text.h"

class TerminalConsole final : public Console {
 public:
  explicit TerminalConsole(std::unique_ptr<platform::Terminal> terminal, bool colours = false)
      : terminal_(std::move(terminal)), colours_(colours) {}

 private:
  void write(const Piece* pieces, std::size_t count) override;
  // People read the start of a text as long as a file, and how long it is.
  void writeLong(const LongText& text) override;

  std::unique_ptr<platform::Terminal> terminal_;
  const bool colours_;
};

#endif  // PRECHECK_APP_TERMINAL_CONSOLE_H_
