#ifndef PRECHECK_CONFIG_TASK_CONFIG_H_
#define PRECHECK_CONFIG_TASK_CONFIG_H_

#include <cstddef>
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

// Values bound to settings, the first six in key order; later ones are not used.
inline constexpr std::size_t kSettingCount = 6;

// Exactly "true" switches a check on; no case folding, no other spelling.
inline bool isOn(const std::string& switchValue) { return switchValue == "true"; }

#endif  // PRECHECK_CONFIG_TASK_CONFIG_H_
