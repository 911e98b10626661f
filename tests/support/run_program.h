// Runs a built program as a user would and keeps what it printed.
#ifndef PRECHECK_TESTS_SUPPORT_RUN_PROGRAM_H_
#define PRECHECK_TESTS_SUPPORT_RUN_PROGRAM_H_

#include <string>
#include <vector>

struct ProgramRun {
  int exitCode = -1;       // -1 when the program did not exit normally
  std::string output;      // standard output, byte for byte
};

// Runs `program` with `arguments` in `workingFolder`; standard error is discarded.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingFolder);

#endif  // PRECHECK_TESTS_SUPPORT_RUN_PROGRAM_H_
