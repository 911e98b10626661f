// `make hostile`: the big hostile batch through a built program, with a report of
// what it held, how long the run took and what went wrong.
//
//   precheck-hostile PRECHECK_BINARY CORPUS_FOLDER [SEED] [TIME_LIMIT_SECONDS]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "hostile_run.h"
#include "temp_folder.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PRECHECK_BINARY CORPUS_FOLDER [SEED] [TIME_LIMIT_SECONDS]\n",
                 argv[0]);
    return 2;
  }
  const auto seed = static_cast<std::uint32_t>(argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 1);
  const auto limit = static_cast<unsigned>(argc > 4 ? std::strtoul(argv[4], nullptr, 10) : 3600);
  // The program runs in the batch's folder, so relative paths would no longer lead here.
  const std::string precheck = std::filesystem::absolute(argv[1]).string();
  const std::string corpus = std::filesystem::absolute(argv[2]).string();
  TempFolder folder;
  const HostileOutcome outcome =
      runHostileBatch(precheck, folder.path().string(), corpus, bigScale(), seed, limit);
  std::printf(
      "seed %u: %d files, %zu distinct names, run of %.1f s, exit code %d, "
      "%zu bytes of transcript\n",
      seed, outcome.files, outcome.names, outcome.seconds, outcome.run.exitCode,
      outcome.run.output.size());
  for (const std::string& problem : outcome.problems) std::printf("PROBLEM: %s\n", problem.c_str());
  std::printf("%s\n", outcome.problems.empty() ? "passed" : "FAILED");
  return outcome.problems.empty() ? 0 : 1;
}
