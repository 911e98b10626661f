#include "app/driver.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <locale>
#include <stdexcept>
#include <string>

#include "app/image_checker.h"
#include "common/console.h"
#include "common/messages.h"
#include "config/config_file.h"
#include "config/task_config.h"
#include "load/image_loader.h"
#include "platform/platform.h"

namespace {

// The user's locale when the environment names a usable one, else the classic one.
void useEnvironmentLocale() {
  try {
    std::locale::global(std::locale(""));
  } catch (const std::runtime_error&) {
    std::locale::global(std::locale::classic());
  }
}

// Workers reading images: PRECHECK_THREADS when it names a number from 1 to
// kMostLoadWorkers, else the default. One worker gives the same transcript, only slower.
constexpr unsigned long kMostLoadWorkers = 256;
unsigned loadWorkers() {
  const char* setting = std::getenv("PRECHECK_THREADS");
  if (setting == nullptr || *setting == '\0') return kDefaultLoadWorkers;
  char* end = nullptr;
  const unsigned long workers = std::strtoul(setting, &end, 10);
  if (*end == '\0' && workers >= 1 && workers <= kMostLoadWorkers && setting[0] != '-') {
    return static_cast<unsigned>(workers);
  }
  std::fprintf(stderr, "precheck: PRECHECK_THREADS=%s is not a number from 1 to %lu; using %u\n",
               setting, kMostLoadWorkers, kDefaultLoadWorkers);
  return kDefaultLoadWorkers;
}

// A path as one line of diagnostics: a control byte in a name must not end the line
// or move the cursor.
std::string oneLine(const std::string& path) {
  std::string shown;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      shown += c;
      continue;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    shown += escaped;
  }
  return shown;
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

 private:
  std::size_t count_ = 0;
};

}  // namespace

int runPrecheck(int argc, char** argv) {
  platform::keepRunningWithoutConsole();
  useEnvironmentLocale();
  if (argc < 2) return 0;
  PlainConsole console;
  const std::string configPath = argv[1];
  console.writeLine({outside(configPath)});
  for (int i = 2; i < argc; ++i) {
    console.writeLine({});
    console.writeLine({outside(argv[i])});
  }
  // The run holds the configuration file open until it ends, as the callers' tooling
  // expects; it is read once, through this opening, and not touched again.
  std::ifstream configFile;
  const LoadedConfig loaded = loadTaskConfig(configPath, configFile, console);
  if (loaded.status == ConfigStatus::notOpenable) {
    console.writeLine({own(messages::kOpenFileFailed)});
    return 1;
  }
  if (loaded.status == ConfigStatus::tooFewValues) {
    const std::size_t found = loaded.entries.size();
    console.writeLine({own(messages::kTooFewValuesBefore), own(std::to_string(found)),
                       own(found == 1 ? messages::kOneValue : messages::kManyValues),
                       own(messages::kTooFewValuesAfter)});
    return 1;
  }
  const TaskConfig& config = loaded.settings;
  if (!platform::pathExists(config.outputFolder)) platform::createFolders(config.outputFolder);
  const ImageChecker checker(console);
  const ScannedImages images = checker.scanImageFolder(config.inputFolder, config.outputFolder);
  SkipTally skipped;
  // Reads each image once, when the first check asks for it; later checks reuse it.
  ImageLoader records(
      images, platform::systemImageFiles(), loadWorkers(),
      [&](const std::string& path, SkipReason reason) { skipped.notice(path, reason); });
  CheckResults results;
  CheckFlags failed;
  if (isOn(config.resolutionSwitch)) {
    console.writeLine({own(messages::kStartResolutionCheck)});
    checker.checkResolution(records, results.resolutionImages, failed.resolution);
  }
  if (isOn(config.cameraMakeSwitch)) {
    console.writeLine({own(messages::kStartCameraMakeCheck)});
    checker.checkCameraMake(records, results.cameraMakeImages, failed.cameraMake);
  }
  if (isOn(config.focalLengthSwitch)) {
    console.writeLine({own(messages::kStartFocalLengthCheck)});
    checker.checkFocalLength(records, results.focalLengthImages, failed.focalLength);
  }
  if (isOn(config.gpsSwitch)) {
    console.writeLine({own(messages::kStartGpsCheck)});
    checker.checkGps(records, results.gpsImages, failed.gps);
  }
  skipped.summarize();
  if (failed.any()) {
    checker.writeErrorReport(results, config.outputFolder, failed);
    return 1;
  }
  if (!images.paths.empty()) {
    console.writeLine({own(messages::kAllClear)});
    return 0;
  }
  checker.writeNoImagesReport(config.outputFolder);
  return 1;
}
