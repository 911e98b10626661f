// Runs a built program as a user would and keeps what it printed.
#ifndef PRECHECK_TESTS_SUPPORT_RUN_PROGRAM_H_
#define PRECHECK_TESTS_SUPPORT_RUN_PROGRAM_H_

#include <string>
#include <utility>
#include <vector>

struct ProgramRun {
  int exitCode = -1;       // -1 when the program did not exit normally
  std::string output;      // standard output, byte for byte (on Windows, a note when the
                           // program could not be started)
};

// Environment variables to change for one run: name and value; an empty value removes
// the variable.
using EnvironmentChanges = std::vector<std::pair<std::string, std::string>>;

// Runs `program` with `arguments` in `workingFolder`, in this process's environment with
// `changes` applied; standard error is discarded.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingFolder, const EnvironmentChanges& changes = {});

#endif  // PRECHECK_TESTS_SUPPORT_RUN_PROGRAM_H_
