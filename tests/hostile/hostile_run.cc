#include "hostile_run.h"

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "report_check.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

HostileOutcome runHostileBatch(const std::string& precheck, const std::string& folder,
                               const std::string& corpusFolder, const HostileScale& scale,
                               std::uint32_t seed, unsigned timeLimitSeconds) {
  HostileOutcome outcome;
  const fs::path root(folder);
  fs::create_directories(root / "batch");
  const HostileBatch batch =
      writeHostileBatch((root / "batch").string(), corpusFolder, scale, seed);
  const std::set<std::string>& names = batch.names;
  outcome.files = batch.files;
  outcome.names = names.size();
  std::ofstream(root / "task.cfg") << "1focal=true\n2gps=true\n3make=true\n4resolution=true\n"
                                      "5input=batch\n6output=check\n";

  RunOptions limits;
  limits.timeLimitSeconds = timeLimitSeconds;
  limits.keepErrors = true;
  const auto start = std::chrono::steady_clock::now();
  outcome.run = runProgram(precheck, {"task.cfg"}, folder, limits);
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::vector<std::string>& problems = outcome.problems;
  const ProgramRun& run = outcome.run;
  if (run.signal != 0) {
    problems.push_back("ended by signal " + std::to_string(run.signal) +
                       (run.signal == SIGALRM ? " (the time limit: a hang)" : ""));
  } else if (run.exitCode != 0 && run.exitCode != 1) {
    problems.push_back("exit code " + std::to_string(run.exitCode));
  }
  // The program's own diagnostics (files it skipped) start with its name; anything
  // else there is a sanitizer's report.
  std::istringstream errors(run.errors);
  for (std::string line; std::getline(errors, line);) {
    if (line.rfind("precheck: ", 0) != 0) {
      problems.push_back("standard error: " + run.errors.substr(0, 4000));
      break;
    }
  }

  const fs::path report = root / "check" / "error.json";
  if (fs::exists(report)) {
    const std::string bytes = readFileBytes(report.string());
    for (const std::string& problem : reportProblems(bytes, names)) problems.push_back(problem);
    if (run.output.find("\n" + bytes + "\n") == std::string::npos) {
      problems.push_back("error.json is not the report the run printed");
    }
  } else if (run.exitCode == 1) {
    problems.push_back("a run with findings left no error.json");
  }
  std::error_code ignored;
  for (const auto& item : fs::directory_iterator(root / "check", ignored)) {
    if (item.path().filename() != "error.json") {
      problems.push_back("left in the output folder: " + item.path().filename().string());
    }
  }
  return outcome;
}
