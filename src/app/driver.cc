#include "app/driver.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <locale>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/config_report.h"
#include "app/error_line.h"
#include "app/image_checker.h"
#include "app/run_summary.h"
#include "app/terminal_console.h"
#include "app/usage.h"
#include "common/console.h"
#include "common/messages.h"
#include "config/config_check.h"
#include "config/config_file.h"
#include "config/task_config.h"
#include "load/image_loader.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "report/error_report.h"
#include "report/image_table.h"

namespace {

// The user's locale when the environment names a usable one, else the classic one.
void useEnvironmentLocale() {
  try {
    std::locale::global(std::locale(""));
  } catch (const std::runtime_error&) {
    std::locale::global(std::locale::classic());
  }
}

// Workers reading images: --threads, else PRECHECK_THREADS when it names a number from
// 1 to kMostThreads, else the default. One worker gives the same transcript, only slower.
unsigned loadWorkers(const CommandLine& command) {
  if (command.threads != 0) return command.threads;
  const char* setting = std::getenv("PRECHECK_THREADS");
  if (setting == nullptr || *setting == '\0') return kDefaultLoadWorkers;
  unsigned workers = 0;
  if (parseThreadCount(setting, workers)) return workers;
  std::fprintf(stderr, "precheck: PRECHECK_THREADS=%s is not a number from 1 to %u; using %u\n",
               setting, kMostThreads, kDefaultLoadWorkers);
  return kDefaultLoadWorkers;
}

// Images that could not be read show only as their progress line on the console, as the
// pipeline expects; standard error says which and why, once per image and run.
class SkipTally {
 public:
  void notice(const std::string& path, SkipReason reason) {
    ++count_;
    std::fprintf(stderr, "precheck: skipped %s: %s\n", oneLine(path).c_str(), describe(reason));
  }
  void summarize() const {
    if (count_ == 0) return;
    std::fprintf(stderr, "precheck: %zu %s could not be read\n", count_,
                 count_ == 1 ? "file" : "files");
  }
  std::size_t count() const { return count_; }

 private:
  std::size_t count_ = 0;
};

// One check as the run takes it: its switch, what it announces, its call and its part
// of the results.
struct CheckStep {
  const std::string& switchValue;
  const char* announcement;
  Offending (ImageChecker::*run)(ImageRecords&, std::vector<std::string>&, bool&) const;
  std::vector<std::string>& list;
  bool& flag;
};

// Writes a file that the command line asks for; standard error says so when it cannot
// be written.
RunSummary::AskedFile writeAskedFile(const char* what, const std::string& path,
                                     const std::string& text) {
  const bool written = platform::replaceFile(path, text);
  if (!written) {
    std::fprintf(stderr, "precheck: the %s could not be written to %s\n", what,
                 oneLine(path).c_str());
  }
  return RunSummary::AskedFile{what, path, written};
}

// The batch below the input folder through the checks that are switched on, then the
// report or the all-clear, and the files the command line asks for. On a terminal it
// ends with a summary for people.
int checkBatch(const TaskConfig& config, const CommandLine& command, Console& console,
               bool forPeople) {
  const ImageChecker checker(console);
  const ScannedImages images = checker.scanImageFolder(config.inputFolder, config.outputFolder);
  SkipTally skipped;
  // Reads each image once, when the first check asks for it; later checks reuse it.
  ImageLoader records(
      images, platform::systemImageFiles(), loadWorkers(command),
      [&](const std::string& path, SkipReason reason) { skipped.notice(path, reason); },
      !command.tablePath.empty());
  CheckResults results;
  CheckFlags failed;
  const CheckStep steps[] = {
      {config.resolutionSwitch, messages::kStartResolutionCheck, &ImageChecker::checkResolution,
       results.resolutionImages, failed.resolution},
      {config.cameraMakeSwitch, messages::kStartCameraMakeCheck, &ImageChecker::checkCameraMake,
       results.cameraMakeImages, failed.cameraMake},
      {config.focalLengthSwitch, messages::kStartFocalLengthCheck, &ImageChecker::checkFocalLength,
       results.focalLengthImages, failed.focalLength},
      {config.gpsSwitch, messages::kStartGpsCheck, &ImageChecker::checkGps, results.gpsImages,
       failed.gps},
  };
  RunSummary summary;
  ReportCodes codes(images.paths.size());
  for (int check = 0; check < 4; ++check) {
    const CheckStep& step = steps[check];
    if (!isOn(step.switchValue)) continue;
    console.writeLine({own(step.announcement)});
    const Offending offending = (checker.*step.run)(records, step.list, step.flag);
    summary.offending[check] = offending.size();
    for (const std::size_t index : offending) codes[index] |= static_cast<std::uint8_t>(1 << check);
  }
  if (!command.tablePath.empty()) {
    summary.askedFiles.push_back(writeAskedFile(
        "table", command.tablePath, imageTableText(records, config.inputFolder, codes)));
  }
  if (!command.mapPath.empty()) {
    summary.askedFiles.push_back(
        writeAskedFile("map", command.mapPath, imageMapText(records, config.inputFolder, codes)));
  }
  skipped.summarize();
  summary.images = images.paths.size();
  summary.unreadable = skipped.count();
  summary.reportPath = platform::joinPath(config.outputFolder, kReportFileName);
  if (failed.any()) {
    summary.verdict = Verdict::offending;
    summary.reportWritten = checker.writeErrorReport(results, config.outputFolder, failed);
  } else if (!images.paths.empty()) {
    console.writeLine({own(messages::kAllClear)});
  } else {
    summary.verdict = Verdict::noImages;
    summary.reportWritten = checker.writeNoImagesReport(config.outputFolder);
  }
  summary.exitCode = summary.verdict == Verdict::passed ? 0 : 1;
  // A file that was asked for and is missing fails the run as a report would.
  for (const RunSummary::AskedFile& file : summary.askedFiles) {
    if (!file.written) summary.exitCode = 1;
  }
  if (forPeople) printSummary(summary, console);
  return summary.exitCode;
}

// The run of the checks that the command line asks for. On a terminal it ends with a
// summary for people.
int runChecks(const CommandLine& command, Console& console, bool forPeople) {
  const std::string& configPath = command.configPath;
  console.writeLine({outside(configPath)});
  for (const std::string& word : command.echoed) {
    console.writeLine({});
    console.writeLine({outside(word)});
  }
  // The run holds the configuration file open until it ends, as the callers' tooling
  // expects; it is read once, through this opening, and not touched again.
  std::ifstream configFile;
  const LoadedConfig loaded = loadTaskConfig(configPath, configFile, console);
  if (loaded.status == ConfigStatus::notOpenable) {
    console.writeLine({own(messages::kOpenFileFailed)});
    return 1;
  }
  warnAboutConfig(loaded.entries);
  if (loaded.status == ConfigStatus::tooFewValues) {
    const std::size_t found = loaded.entries.size();
    console.writeLine({own(messages::kTooFewValuesBefore), own(std::to_string(found)),
                       own(found == 1 ? messages::kOneValue : messages::kManyValues),
                       own(messages::kTooFewValuesAfter)});
    return 1;
  }
  const TaskConfig& config = loaded.settings;
  if (!platform::pathExists(config.outputFolder)) platform::createFolders(config.outputFolder);
  return checkBatch(config, command, console, forPeople);
}

std::unique_ptr<Console> consoleFor(bool forPeople) {
  if (forPeople) return std::make_unique<TerminalConsole>(platform::standardOutputTerminal());
  return std::make_unique<PlainConsole>();
}

}  // namespace

int runPrecheck(int argc, char** argv) {
  platform::keepRunningWithoutConsole();
  useEnvironmentLocale();
  const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  const CommandLine command = parseCommandLine(words, platform::pathExists);
  // Everything for people on a terminal; a pipeline reads the bytes it always did.
  const bool forPeople = platform::outputIsTerminal();
  const std::unique_ptr<Console> consoleInUse = consoleFor(forPeople);
  Console& console = *consoleInUse;
  switch (command.action) {
    case Action::nothing:
      return 0;
    case Action::help:
      console.writeLine({own(usageText())});
      return 0;
    case Action::version:
      console.writeLine({own(versionText())});
      return 0;
    case Action::usageError:
      std::fprintf(stderr, "precheck: %s; precheck --help lists the options\n",
                   oneLine(command.problem).c_str());
      return 2;
    case Action::checkConfig:
      return checkConfiguration(command.configPath, console);
    case Action::run:
      break;
  }
  return runChecks(command, console, forPeople);
}
