#ifndef PRECHECK_CONFIG_TASK_CONFIG_H_
#define PRECHECK_CONFIG_TASK_CONFIG_H_

#include <string>

// The six settings of a run. Each starts as a single blank, which is neither "true"
// nor a usable folder, until the driver fills it from the configuration values.
struct TaskConfig {
  std::string outputFolder = " ";
  std::string inputFolder = " ";
  std::string resolutionSwitch = " ";
  std::string cameraMakeSwitch = " ";
  std::string focalLengthSwitch = " ";
  std::string gpsSwitch = " ";
};

#endif  // PRECHECK_CONFIG_TASK_CONFIG_H_
