// What looks wrong in a task configuration: values that a run takes otherwise than
// their writer most likely meant. A run still takes every value as it is; these only
// say so, on standard error, and `precheck --check-config` lists them.
#ifndef PRECHECK_CONFIG_CONFIG_CHECK_H_
#define PRECHECK_CONFIG_CONFIG_CHECK_H_

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "config/config_file.h"
#include "config/task_config.h"

// The setting that the value at `place` (counted from 0 in key order) binds to; null
// past the last setting.
inline const Setting* settingAt(std::size_t place) {
  return place < kSettingCount ? &kSettings[place] : nullptr;
}

enum class ConfigProblem {
  byteOrderMark,
  unusedKey,
  switchMeantAsOn,
  folderAsSwitch,
  switchAsFolder,
  quotedFolder,
  missingInputFolder,
};

// One entry that looks wrong, and what the run does with it (ASCII). A key or value
// longer than people read is cut, with " ..." behind.
struct ConfigDiagnostic {
  ConfigProblem problem;
  std::string key;
  std::string value;
  std::string meaning;
  // The run stops before any check: going on would report a pass for checks that were
  // asked for and never ran.
  bool stopsRun = false;
};

// Diagnostics of one problem past the first kDiagnosticsPerProblem are only counted: a
// configuration of millions of keys must not give millions of lines.
inline constexpr std::size_t kDiagnosticsPerProblem = 10;

struct ConfigDiagnoses {
  std::vector<ConfigDiagnostic> listed;
  // Per problem whose diagnostics were cut, how many more there were, and in words
  // ("keys past the sixth, whose values no setting takes").
  struct Unlisted {
    ConfigProblem problem;
    std::size_t count;
    const char* what;
  };
  std::vector<Unlisted> unlisted;

  bool stopsRun() const {
    for (const ConfigDiagnostic& diagnostic : listed) {
      if (diagnostic.stopsRun) return true;
    }
    return false;
  }
  bool empty() const { return listed.empty(); }
};

// The entries of `entries` that look wrong, in key order:
// - a switch that is not exactly "true" but looks meant as on ("True", "yes", "1", ...),
//   which stops the run;
// - a key that starts with a byte-order mark, which sorts it after the other keys;
// - a folder value "true" or "false", or a switch value that looks like a path: the
//   keys sort in an order that was not meant;
// - a folder value in quotes, which are part of the folder's name;
// - an input folder that does not exist (`exists` tells);
// - keys past the sixth, whose values no setting takes.
ConfigDiagnoses diagnoseConfig(const ConfigEntries& entries,
                               const std::function<bool(const std::string&)>& exists);

#endif  // PRECHECK_CONFIG_CONFIG_CHECK_H_
