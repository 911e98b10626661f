// One run of the program on a hostile batch, and everything that went wrong in it.
#ifndef PRECHECK_TESTS_HOSTILE_HOSTILE_RUN_H_
#define PRECHECK_TESTS_HOSTILE_HOSTILE_RUN_H_

#include <cstdint>
#include <string>
#include <vector>

#include "hostile_batch.h"
#include "run_program.h"

struct HostileOutcome {
  int files = 0;          // files in the batch
  std::size_t names = 0;  // distinct names among them
  double seconds = 0.0;   // the program's run alone
  ProgramRun run;
  std::vector<std::string> problems;  // empty when the run kept its promise
};

// Writes the batch into `folder`/batch, runs `precheck` with all four checks on it
// and the report going to `folder`/batch/report (where an earlier error.json and a file
// named like its temporary files wait), while a write lease is held on one file,
// ended after `timeLimitSeconds`, and judges the run: exit code 0 or 1, nothing on
// standard error but the program's own lines (a sanitizer reports there), the files
// that must be read listed and read, an error.json that is whole, sound and names only
// files of the batch, and nothing else left or changed in the output folder.
HostileOutcome runHostileBatch(const std::string& precheck, const std::string& folder,
                               const std::string& corpusFolder, const HostileScale& scale,
                               std::uint32_t seed, unsigned timeLimitSeconds);

#endif  // PRECHECK_TESTS_HOSTILE_HOSTILE_RUN_H_
