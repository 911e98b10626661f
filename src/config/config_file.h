// The task configuration file: lines of key=value. Key names mean nothing to the
// program; a value's setting is chosen by the place of its key in byte order.
#ifndef PRECHECK_CONFIG_CONFIG_FILE_H_
#define PRECHECK_CONFIG_CONFIG_FILE_H_

#include <fstream>
#include <istream>
#include <map>
#include <string>
#include <vector>

#include "common/console.h"
#include "config/task_config.h"

// std::string compares as unsigned bytes, which is the order the settings rely on.
using ConfigMap = std::map<std::string, std::string>;

enum class ConfigStatus {
  ready,         // the settings are bound
  notOpenable,   // missing, unreadable, or not a regular file
  tooFewValues,  // fewer than kSettingCount keys
};

// What a configuration file gives a run.
struct LoadedConfig {
  ConfigStatus status = ConfigStatus::notOpenable;
  ConfigMap entries;    // every key with its value, in the order that binds them
  TaskConfig settings;  // bound from `entries` when the status is ready
};

// Opens the configuration file at `path` into `stream`, reads it, echoes every entry
// as key=value in key order, and binds the settings. `stream` stays open for the
// caller; nothing is echoed when it cannot be opened.
LoadedConfig loadTaskConfig(const std::string& path, std::ifstream& stream, Console& console);

// Opens the configuration file for reading as text. Only a regular file is opened: the
// open of a FIFO waits for a writer that may never come, a device such as /dev/zero
// never ends, and a folder holds no lines. Returns whether `stream` is open.
bool openConfigFile(const std::string& path, std::ifstream& stream);

// Fills `map` from the lines of `in`, which is read to its end; the last line of a
// key wins.
void readConfigLines(std::istream& in, ConfigMap& map);

// Splits one line into a trimmed key and value. Returns false for a line that holds
// no entry: empty, a comment, no "=" before any "#", or an empty key.
bool parseConfigLine(const std::string& line, std::string& key, std::string& value);

// Removes spaces and tabs at both ends, in place.
void trimBlanks(std::string& text);

// Appends the values in ascending key order and echoes each entry as key=value.
void listConfigValues(const ConfigMap& map, std::vector<std::string>& values,
                      Console& console);

#endif  // PRECHECK_CONFIG_CONFIG_FILE_H_
