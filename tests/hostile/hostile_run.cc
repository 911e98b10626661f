#include "hostile_run.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/messages.h"
#include "report_check.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

// The report goes into the batch, beside the program's own files of an earlier run.
const char* const kOutputFolder = "batch/report";
const char* const kPlanted[] = {"error.json", "error.json.tmp-0123456789abcdef"};

volatile sig_atomic_t leaseFd = -1;

// The kernel tells the holder with SIGIO that someone opens the file; until the holder
// lets go, that open waits (up to /proc/sys/fs/lease-break-time seconds).
extern "C" void releaseLease(int) { fcntl(leaseFd, F_SETLEASE, F_UNLCK); }

// Holds a write lease on a file while it lives, as a client of a share holds an oplock:
// the program's open of the file waits until the lease is broken. Root or the file's
// owner may take one; some file systems refuse them.
class LeaseHolder {
 public:
  explicit LeaseHolder(const fs::path& path) {
    struct sigaction release = {};
    release.sa_handler = releaseLease;
    sigaction(SIGIO, &release, &earlier_);
    leaseFd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    held_ = leaseFd >= 0 && fcntl(leaseFd, F_SETLEASE, F_WRLCK) == 0;
  }
  ~LeaseHolder() {
    if (leaseFd >= 0) {
      fcntl(leaseFd, F_SETLEASE, F_UNLCK);
      close(leaseFd);
    }
    leaseFd = -1;
    sigaction(SIGIO, &earlier_, nullptr);
  }
  LeaseHolder(const LeaseHolder&) = delete;
  LeaseHolder& operator=(const LeaseHolder&) = delete;

  bool held() const { return held_; }

 private:
  struct sigaction earlier_ = {};
  bool held_ = false;
};

}  // namespace

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
                                      "5input=batch\n6output=" << kOutputFolder << "\n";
  const fs::path output = root / kOutputFolder;
  fs::create_directories(output);
  for (const char* name : kPlanted) std::ofstream(output / name) << "planted";

  RunOptions limits;
  limits.timeLimitSeconds = timeLimitSeconds;
  limits.keepErrors = true;
  const LeaseHolder lease(root / "batch" / batch.leased);
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

  for (const std::string& name : batch.mustBeRead) {
    if (run.output.find(messages::kProgressArrow + name + "\n") == std::string::npos) {
      problems.push_back("not listed: " + name);
    } else if (run.errors.find("/" + name + ": ") != std::string::npos) {
      problems.push_back("not read: " + name);
    }
  }

  const std::string bytes = readFileBytes((output / "error.json").string());
  if (bytes != "planted") {
    for (const std::string& problem : reportProblems(bytes, names)) problems.push_back(problem);
    if (run.output.find("\n" + bytes + "\n") == std::string::npos) {
      problems.push_back("error.json is not the report the run printed");
    }
  } else if (run.exitCode == 1) {
    problems.push_back("a run with findings left the earlier error.json");
  }
  std::error_code ignored;
  for (const auto& item : fs::directory_iterator(output, ignored)) {
    const std::string name = item.path().filename().string();
    if (name != kPlanted[0] && name != kPlanted[1]) {
      problems.push_back("left in the output folder: " + name);
    }
  }
  if (readFileBytes((output / kPlanted[1]).string()) != "planted") {
    problems.push_back("a file named like a temporary one of the report was changed");
  }
  return outcome;
}
