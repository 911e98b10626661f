// A console that keeps what is written to it, for tests that run parts of the program
// in-process.
#ifndef PRECHECK_TESTS_SUPPORT_RECORDING_CONSOLE_H_
#define PRECHECK_TESTS_SUPPORT_RECORDING_CONSOLE_H_

#include <string>

#include "common/console.h"

class RecordingConsole final : public Console {
 public:
  // Every line, each ended by "\n".
  std::string text;

 private:
  void write(const Piece* pieces, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i) text += pieces[i].bytes;
    text += '\n';
  }
};

#endif  // PRECHECK_TESTS_SUPPORT_RECORDING_CONSOLE_H_
