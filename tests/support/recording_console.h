// A console that keeps what is written to it, for tests that run parts of the program
// in-process.
#ifndef PRECHECK_TESTS_SUPPORT_RECORDING_CONSOLE_H_
#define PRECHECK_TESTS_SUPPORT_RECORDING_CONSOLE_H_

#include <string>

#include "common/console.h"

class RecordingConsole final : public Console {
 public:
  void writeLine(std::initializer_list<Piece> pieces) override {
    for (const Piece& piece : pieces) text += piece.bytes;
    text += '\n';
  }

  // Every line, each ended by "\n".
  std::string text;
};

#endif  // PRECHECK_TESTS_SUPPORT_RECORDING_CONSOLE_H_
