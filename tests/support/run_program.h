// Runs a built program as a user would and keeps what it printed.
#ifndef PRECHECK_TESTS_SUPPORT_RUN_PROGRAM_H_
#define PRECHECK_TESTS_SUPPORT_RUN_PROGRAM_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct ProgramRun {
  int exitCode = -1;   // -1 when the program did not exit normally
  int signal = 0;      // the signal that ended it, if one did
  std::string output;  // standard output, byte for byte (on Windows, a note when the
                       // program could not be started)
  std::string errors;  // standard error, when RunOptions::keepErrors is set
};

// Environment variables to change for one run: name and value; an empty value removes
// the variable.
using EnvironmentChanges = std::vector<std::pair<std::string, std::string>>;

// What the child runs under. Only `environment`, `keepErrors` and `terminal` are
// honoured on Windows; the rest serve tests of POSIX behaviour: runs that must not hang
// or must meet a full disk.
struct RunOptions {
  EnvironmentChanges environment;
  // Largest file the program may write (RLIMIT_FSIZE). SIGXFSZ is ignored, so a write
  // past it fails with EFBIG, as on a full disk, instead of killing the program.
  std::optional<std::uint64_t> fileSizeLimit;
  // SIGALRM ends the program after this many seconds; 0 for no limit.
  unsigned timeLimitSeconds = 0;
  // Keep standard error (a sanitizer's report) instead of discarding it.
  bool keepErrors = false;
  // Standard output is a pipe whose reader has gone before the program writes.
  bool outputClosed = false;
  // Standard output is a terminal, as when a person runs the program: on POSIX a
  // pseudo-terminal that passes bytes unchanged (no CR added before LF); on Windows a
  // pseudo console, whose text `output` then holds without its escape sequences and
  // carriage returns.
  bool terminal = false;
  // POSIX only: standard error is a pseudo-terminal of its own, whose bytes `errors`
  // holds, as when a person watches the run.
  bool errorsOnTerminal = false;
  // Called while the program is blocked writing to its standard output, which is then
  // a pipe of one page (4096 bytes) that is not read before the call. A test that
  // makes the program print just under a page before some step runs its change at
  // that exact step, with no race: the program cannot go on until the pipe is read.
  std::function<void()> whenOutputIsFull;
};

// Runs `program` with `arguments` in `workingFolder`.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingFolder, const RunOptions& options = {});

#endif  // PRECHECK_TESTS_SUPPORT_RUN_PROGRAM_H_
