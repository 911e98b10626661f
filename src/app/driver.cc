#include "app/driver.h"

#include <fstream>
#include <locale>
#include <stdexcept>
#include <string>
#include <vector>

#include "checks/image_checker.h"
#include "common/console.h"
#include "common/messages.h"
#include "config/config_file.h"
#include "config/task_config.h"
#include "platform/platform.h"

namespace {

constexpr std::size_t kSettingCount = 6;

// The user's locale when the environment names a usable one, else the classic one.
void useEnvironmentLocale() {
  try {
    std::locale::global(std::locale(""));
  } catch (const std::runtime_error&) {
    std::locale::global(std::locale::classic());
  }
}

// Exactly "true" switches a check on; no case folding, no other spelling.
bool isOn(const std::string& value) { return value == "true"; }

// Values bind to settings by the place of their key in byte order.
TaskConfig settingsFrom(const std::vector<std::string>& values) {
  TaskConfig config;
  config.focalLengthSwitch = values[0];
  config.gpsSwitch = values[1];
  config.cameraMakeSwitch = values[2];
  config.resolutionSwitch = values[3];
  config.inputFolder = values[4];
  config.outputFolder = values[5];
  return config;
}

}  // namespace

int runPrecheck(int argc, char** argv) {
  platform::keepRunningWithoutConsole();
  useEnvironmentLocale();
  if (argc < 2) return 0;

  const std::string configPath = argv[1];
  writeLine(configPath);
  for (int i = 2; i < argc; ++i) {
    writeLine("");
    writeLine(argv[i]);
  }

  // The configuration file stays open, unread, until the run ends.
  std::ifstream configStream;
  if (!openConfigFile(configPath, configStream)) {
    writeLine(messages::kOpenFileFailed);
    return 1;
  }

  ConfigMap configMap;
  readConfigFile(configPath, configMap);
  std::vector<std::string> values;
  listConfigValues(configMap, values);
  if (values.size() < kSettingCount) {
    writeLine(messages::kTooFewValuesBefore + std::to_string(values.size()) +
              messages::kTooFewValuesAfter);
    return 1;
  }
  const TaskConfig config = settingsFrom(values);

  if (!platform::pathExists(config.outputFolder)) platform::createFolders(config.outputFolder);

  ImageChecker checker;
  const ImageList images = checker.scanImageFolder(config.inputFolder);

  CheckResults results;
  CheckFlags failed;
  if (isOn(config.resolutionSwitch)) {
    writeLine(messages::kStartResolutionCheck);
    checker.checkResolution(images, results.resolutionImages, failed.resolution);
  }
  if (isOn(config.cameraMakeSwitch)) {
    writeLine(messages::kStartCameraMakeCheck);
    checker.checkCameraMake(images, results.cameraMakeImages, failed.cameraMake);
  }
  if (isOn(config.focalLengthSwitch)) {
    writeLine(messages::kStartFocalLengthCheck);
    checker.checkFocalLength(images, results.focalLengthImages, failed.focalLength);
  }
  if (isOn(config.gpsSwitch)) {
    writeLine(messages::kStartGpsCheck);
    checker.checkGps(images, results.gpsImages, failed.gps);
  }

  if (failed.any()) {
    checker.writeErrorReport(results, config.outputFolder, failed);
    return 1;
  }
  if (!images.empty()) {
    writeLine(messages::kAllClear);
    return 0;
  }
  checker.writeNoImagesReport(config.outputFolder);
  return 1;
}
