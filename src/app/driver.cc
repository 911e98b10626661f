#include "app/driver.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <locale>
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/asked_files.h"
#include "app/command_line.h"
#include "app/config_report.h"
#include "app/counted_records.h"
#include "app/error_line.h"
#include "app/not_images.h"
#include "app/progress_bar.h"
#include "app/reader.h"
#include "app/run_summary.h"
#include "app/survey_summary.h"
#include "app/terminal_console.h"
#include "app/usage.h"
#include "common/console.h"
#include "common/messages.h"
#include "config/config_check.h"
#include "config/config_file.h"
#include "config/task_config.h"
#include "checks/checks.h"
#include "load/image_loader.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "report/error_report.h"
#include "report/image_table.h"
#include "report/survey_report.h"
#include "scan/image_scan.h"

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
  printErrorLine("precheck: PRECHECK_THREADS=%s is not a number from 1 to %u; using %u\n",
                 setting, kMostThreads, kDefaultLoadWorkers);
  return kDefaultLoadWorkers;
}

// The progress bar, when standard error is a terminal; else none.
std::unique_ptr<ProgressBar> progressBarFor(const Reader& reader) {
  if (!platform::errorIsTerminal()) return nullptr;
  std::shared_ptr<platform::Terminal> terminal = platform::standardOutputTerminal();
  const auto start = std::chrono::steady_clock::now();
  return std::make_unique<ProgressBar>(
      reader.language,
      [terminal](const std::string& text) {
        std::string line;
        terminal->appendOwn(text, line);
        platform::writeToErrorTerminal(line);
      },
      [start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      });
}

// Images that could not be read show only as their progress line on the console, as the
// pipeline expects; standard error says which and why, once per image and run. Beside
// a progress bar, on a terminal, only the first ones are named, so that a folder of
// other files cannot flood it.
class SkipTally {
 public:
  SkipTally(ProgressBar* bar, std::string readTimeout)
      : bar_(bar), readTimeout_(std::move(readTimeout)) {}

  void notice(const std::string& path, SkipReason reason) {
    ++count_;
    if (bar_ != nullptr && count_ > kNamed) return;
    if (bar_ != nullptr) bar_->clear();
    // The limit as the user gave it, so that the line says which one was too short.
    const std::string why = reason == SkipReason::noAnswer
                                ? "no answer from the file system in " + readTimeout_ + " s"
                                : describe(reason);
    printErrorLine("precheck: skipped %s: %s\n", oneLine(path).c_str(), why.c_str());
  }
  void summarize() const {
    if (count_ == 0) return;
    printErrorLine("precheck: %zu %s could not be read%s\n", count_,
                   count_ == 1 ? "file" : "files",
                   bar_ != nullptr && count_ > kNamed ? " (the first 20 are named above)" : "");
  }
  std::size_t count() const { return count_; }

 private:
  static constexpr std::size_t kNamed = 20;
  ProgressBar* const bar_;
  std::string readTimeout_;
  std::size_t count_ = 0;
};

// How the images are read: --threads and --read-timeout, else their defaults.
// The survey costs a read of every image: only for people, or when one of its outputs
// is asked for, so that a pipeline's run stays what it was.
bool surveyRunsFor(const CommandLine& command, bool forPeople) {
  return forPeople || command.strict || !command.surveyPath.empty() ||
         !command.tablePath.empty() || !command.mapPath.empty() || !command.pagePath.empty();
}

LoaderOptions loaderOptions(const CommandLine& command, bool surveyRuns) {
  LoaderOptions options;
  options.workers = loadWorkers(command);
  // Every run with a survey is one whose files show the details, and the other way round.
  options.keepDetails = surveyRuns;
  if (command.readTimeoutMilliseconds != 0) {
    options.readTimeout = std::chrono::milliseconds(command.readTimeoutMilliseconds);
  }
  return options;
}

// Options behind the configuration path are only echoed, as they always were; people
// who wrote them there meant them, and are told once.
void warnAboutLateOptions(const std::vector<std::string>& echoed) {
  std::string options;
  for (const std::string& word : echoed) {
    if (!options.empty() || namesAnOption(word)) options += " " + word;
  }
  if (options.empty()) return;
  printErrorLine(
      "precheck: options go before the configuration path; these words were only "
      "echoed:%s\n",
      oneLine(options).c_str());
}

// Writes a file that the command line asks for; standard error says so when it cannot
// be written.
RunSummary::AskedFile writeAsked(const AskedFile& file, const RunFindings& findings) {
  const bool written = writeAskedFile(file, file.kind->text(findings));
  if (!written) {
    printErrorLine("precheck: the %s could not be written to %s\n", file.kind->what,
                   oneLine(file.path).c_str());
  }
  return RunSummary::AskedFile{file.kind->what, file.path, written};
}

// The batch below the input folder through the checks that are switched on, then the
// report or the all-clear, and the files the command line asks for. On a terminal it
// ends with a summary for people.
int checkBatch(const TaskConfig& config, const CommandLine& command,
               const AskedFilesPlan& asked, Console& console, bool forPeople) {
  console.flush();  // a large folder, or one on a share, takes a while to list
  const ScannedImages images =
      scanImageFolder(config.inputFolder, asked.ownFiles, console, command.ignore);
  const bool surveyRuns = surveyRunsFor(command, forPeople);
  const Reader reader = readerOfTerminal();
  const std::unique_ptr<ProgressBar> bar = progressBarFor(reader);
  SkipTally skipped(bar.get(), command.readTimeoutText.empty()
                                   ? std::to_string(kDefaultReadTimeout.count())
                                   : command.readTimeoutText);
  // Reads each image once, when the first check asks for it; later checks reuse it.
  LoaderOptions options = loaderOptions(command, surveyRuns);
  options.beforeWaiting = [&console] { console.flush(); };
  ImageLoader loader(
      images, platform::systemImageFiles(), options,
      [&](const std::string& path, SkipReason reason) { skipped.notice(path, reason); });
  CountedRecords records(loader, [&](std::size_t done, std::size_t all) {
    if (bar != nullptr) bar->update(done, all);
  });
  // People are shown each check's result once it has run, not the transcript.
  SilentConsole silent;
  Console& transcript = forPeople ? static_cast<Console&>(silent) : console;
  RunSummary summary;
  summary.checks = runChecks(config, records, transcript);
  console.flush();  // before the survey and the files asked for, which take a while
  if (bar != nullptr) bar->clear();
  if (!summary.checks.anyRan()) {
    printErrorLine("precheck: no check ran: every switch is off (only exactly \"true\" "
                   "switches a check on)\n");
  }
  // The asked files show every image, read here if no check read it, so that standard
  // error names the files that could not be read before it counts them.
  if (!asked.files.empty() || surveyRuns) {
    for (std::size_t index = 0; index < records.size(); ++index) records.record(index);
  }
  if (bar != nullptr) bar->clear();
  skipped.summarize();
  // Named once the checks have read every file, as a run with no check reads none.
  NotImages notImages;
  if (summary.checks.anyRan() || !asked.files.empty()) {
    notImages = findNotImages(loader, config.inputFolder);
    const std::string line = notImagesLine(notImages);
    if (!line.empty()) printErrorLine("precheck: %s\n", line.c_str());
  }
  SurveyOfRun survey;
  if (surveyRuns) survey = surveyOfRun(loader, config.inputFolder, command.survey);
  summary.images = images.paths.size();
  summary.unreadable = skipped.count();
  summary.inputFolder = config.inputFolder;
  // For people who may not have meant the sidecar files to be there.
  summary.ignoreOptions = ignoreOptions(notImages);
  summary.tableAsked = !command.tablePath.empty();
  summary.pageAsked = !command.pagePath.empty();
  summary.reportPath = platform::joinPath(config.outputFolder, kReportFileName);
  if (summary.checks.anyOffending()) {
    summary.verdict = Verdict::offending;
    summary.reportWritten =
        publishReport(errorReportText(summary.checks, loader), config.outputFolder, transcript);
  } else if (!images.paths.empty()) {
    transcript.writeLine({own(messages::kAllClear)});
  } else {
    summary.verdict = Verdict::noImages;
    summary.reportWritten = publishReport(noImagesReportText(), config.outputFolder, transcript);
  }
  // After the transcript, so that one written to standard output ("-") follows it whole.
  const RunFindings findings{loader, config.inputFolder, summary.checks, summary.reportPath,
                             summary.reportWritten, survey};
  for (const AskedFile& file : asked.files) {
    summary.askedFiles.push_back(writeAsked(file, findings));
  }
  summary.exitCode = summary.verdict == Verdict::passed ? 0 : 1;
  // A file that was asked for and is missing fails the run as a report would.
  for (const RunSummary::AskedFile& file : summary.askedFiles) {
    if (!file.written) summary.exitCode = 1;
  }
  // --strict: a batch that passes the checks but not the survey is not ready either.
  if (command.strict && summary.exitCode == 0 && summary.verdict == Verdict::passed &&
      survey.result.anyFindings()) {
    summary.exitCode = 3;
  }
  if (forPeople) {
    summary.survey = &survey.result;
    for (std::size_t index = 0; index < loader.size(); ++index) {
      summary.surveyNames.push_back(platform::pathInside(config.inputFolder, loader.path(index)));
    }
    printCheckResults(summary, loader, reader, console);
    printSummary(summary, reader, console);
  }
  return summary.exitCode;
}

// The run of the task that the command line names. On a terminal it ends with a
// summary for people.
int runTask(const CommandLine& command, Console& console, bool forPeople) {
  const std::string& configPath = command.configPath;
  console.writeLine({outside(configPath)});
  for (const std::string& word : command.echoed) {
    console.writeLine({});
    console.writeLine({outside(word)});
  }
  if (forPeople) warnAboutLateOptions(command.echoed);
  console.flush();  // the configuration may be a FIFO, or on a share
  // The run holds the configuration file open until it ends, as the callers' tooling
  // expects; it is read once, through this opening, and not touched again.
  std::ifstream configFile;
  const LoadedConfig loaded = loadTaskConfig(configPath, configFile, console);
  if (loaded.status == ConfigStatus::notOpenable) {
    console.writeLine({own(messages::kOpenFileFailed)});
    return 1;
  }
  const bool configStopsRun = warnAboutConfig(loaded.entries);
  if (loaded.status == ConfigStatus::tooFewValues) {
    const std::size_t found = loaded.entries.size();
    console.writeLine({own(messages::kTooFewValuesBefore), own(std::to_string(found)),
                       own(found == 1 ? messages::kOneValue : messages::kManyValues),
                       own(messages::kTooFewValuesAfter)});
    return 1;
  }
  // A switch meant as on that would not switch its check on: a pass would be false.
  if (configStopsRun) return 2;
  const TaskConfig& config = loaded.settings;
  // Before any work: no file the command line asks for may destroy an input.
  const AskedFilesPlan asked = planAskedFiles(command, config, kReportFileName);
  if (!asked.refusal.empty()) {
    printErrorLine("precheck: %s\n", oneLine(asked.refusal).c_str());
    return 2;
  }
  if (!platform::pathExists(config.outputFolder)) platform::createFolders(config.outputFolder);
  return checkBatch(config, command, asked, console, forPeople);
}

// Colours by default, unless NO_COLOR says otherwise or the terminal cannot show them.
bool wantsColours(ColourChoice choice) {
  if (choice == ColourChoice::never) return false;
  const char* noColour = std::getenv("NO_COLOR");
  if (choice == ColourChoice::automatic && noColour != nullptr && *noColour != '\0') return false;
  return platform::enableTerminalColours();
}

std::unique_ptr<Console> consoleFor(bool forPeople, ColourChoice colour) {
  if (forPeople) {
    return std::make_unique<TerminalConsole>(platform::standardOutputTerminal(),
                                             wantsColours(colour));
  }
  return std::make_unique<PlainConsole>();
}

int runCommandLine(int argc, char** argv) {
  platform::keepRunningWithoutConsole();
  useEnvironmentLocale();
  const std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  const CommandLine command = parseCommandLine(words, platform::pathExists);
  // Everything for people on a terminal; a pipeline reads the bytes it always did.
  const bool forPeople = platform::outputIsTerminal();
  const std::unique_ptr<Console> consoleInUse = consoleFor(forPeople, command.colour);
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
      printErrorLine("precheck: %s; precheck --help lists the options\n",
                     oneLine(command.problem).c_str());
      return 2;
    case Action::checkConfig:
      return checkConfiguration(command.configPath, console);
    case Action::run:
      break;
  }
  return runTask(command, console, forPeople);
}

}  // namespace

int runPrecheck(int argc, char** argv) {
  // The one place where an exception that nothing below expected ends the run: with one
  // line and exit code 1, as a failed run ends, never through std::terminate, so that a
  // caller cannot take a run cut short for a pass.
  bufferStandardOutput();
  try {
    return runCommandLine(argc, argv);
  } catch (const std::bad_alloc&) {
    printErrorLine("precheck: stopped: there was not enough memory to go on\n");
  } catch (const std::exception& error) {
    printErrorLine("precheck: stopped by an unexpected error: %s\n",
                   oneLine(error.what()).c_str());
  } catch (...) {
    printErrorLine("precheck: stopped by an unexpected error\n");
  }
  return 1;
}
