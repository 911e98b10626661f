// The settings of a run, bound from the task configuration file, and the table that
// says which value binds to which setting.
#ifndef PRECHECK_CONFIG_TASK_CONFIG_H_
#define PRECHECK_CONFIG_TASK_CONFIG_H_

#include <cstddef>
#include <iterator>
#include <string>

// The six settings of a run. Each starts as a single blank, which is neither "true"
// nor a usable folder, until they are bound from the configuration values.
struct TaskConfig {
  std::string outputFolder = " ";
  std::string inputFolder = " ";
  std::string resolutionSwitch = " ";
  std::string cameraMakeSwitch = " ";
  std::string focalLengthSwitch = " ";
  std::string gpsSwitch = " ";
};

enum class SettingKind {
  checkSwitch,   // a check runs when the value is exactly "true"
  inputFolder,   // every file below it is an image of the batch
  outputFolder,  // receives error.json; created when missing
};

// One setting: how people call it, what kind it is, where its value goes, and a key
// that sorts into its place, for examples.
struct Setting {
  const char* name;
  SettingKind kind;
  std::string TaskConfig::*value;
  const char* exampleKey;
};

// The settings in the order their values bind: the value of the first key in byte
// order goes to the first row, and so on. Keys past the last row bind to nothing.
inline constexpr Setting kSettings[] = {
    {"focal length check", SettingKind::checkSwitch, &TaskConfig::focalLengthSwitch, "1focal"},
    {"GPS check", SettingKind::checkSwitch, &TaskConfig::gpsSwitch, "2gps"},
    {"camera make check", SettingKind::checkSwitch, &TaskConfig::cameraMakeSwitch, "3make"},
    {"resolution check", SettingKind::checkSwitch, &TaskConfig::resolutionSwitch, "4resolution"},
    {"input folder", SettingKind::inputFolder, &TaskConfig::inputFolder, "5input"},
    {"output folder", SettingKind::outputFolder, &TaskConfig::outputFolder, "6output"},
};
inline constexpr std::size_t kSettingCount = std::size(kSettings);

// Exactly "true" switches a check on; no case folding, no other spelling.
inline bool isOn(const std::string& switchValue) { return switchValue == "true"; }

#endif  // PRECHECK_CONFIG_TASK_CONFIG_H_
