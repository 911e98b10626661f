// The task configuration file: lines of key=value. Key names mean nothing to the
// program; a value's setting is chosen by the place of its key in byte order.
#ifndef PRECHECK_CONFIG_CONFIG_FILE_H_
#define PRECHECK_CONFIG_CONFIG_FILE_H_

#include <fstream>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/console.h"
#include "config/task_config.h"

// One entry: a key and its value, trimmed, as views into the text they were read from.
struct ConfigEntry {
  std::string_view key;
  std::string_view value;
};

// The entries of a configuration text in ascending byte order of their keys (the order
// that binds them), one per key, the last line of a key winning. The text is held once
// and each entry costs two views, so a configuration costs a small multiple of its
// size however many keys it holds.
class ConfigEntries {
 public:
  ConfigEntries() = default;
  explicit ConfigEntries(std::string text);

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const ConfigEntry& operator[](std::size_t place) const { return entries_[place]; }
  std::vector<ConfigEntry>::const_iterator begin() const { return entries_.begin(); }
  std::vector<ConfigEntry>::const_iterator end() const { return entries_.end(); }

 private:
  // On the heap, so that the views stay valid when the entries move.
  std::unique_ptr<const std::string> text_;
  std::vector<ConfigEntry> entries_;
};

enum class ConfigStatus {
  ready,         // the settings are bound
  notOpenable,   // missing, unreadable, or not a regular file
  tooFewValues,  // fewer than kSettingCount keys
};

// What a configuration file gives a run.
struct LoadedConfig {
  ConfigStatus status = ConfigStatus::notOpenable;
  ConfigEntries entries;  // every key with its value, in the order that binds them
  TaskConfig settings;    // bound from `entries` when the status is ready
};

// Opens the configuration file at `path` into `stream`, reads it, echoes every entry
// as key=value in key order, and binds the settings. `stream` stays open for the
// caller; nothing is echoed when it cannot be opened.
LoadedConfig loadTaskConfig(const std::string& path, std::ifstream& stream, Console& console);

// Opens the configuration file for reading as text. Only a regular file is opened: the
// open of a FIFO waits for a writer that may never come, a device such as /dev/zero
// never ends, and a folder holds no lines. Returns whether `stream` is open.
bool openConfigFile(const std::string& path, std::ifstream& stream);

// Every byte of `in`, to its end.
std::string readConfigText(std::istream& in);

// Splits one line into a trimmed key and value. Returns false for a line that holds
// no entry: empty, a comment, no "=" before any "#", or an empty key.
bool parseConfigLine(std::string_view line, std::string_view& key, std::string_view& value);

// Without the spaces and tabs at both ends.
std::string_view trimBlanks(std::string_view text);

// Echoes each entry as key=value, in key order.
void echoConfigEntries(const ConfigEntries& entries, Console& console);

#endif  // PRECHECK_CONFIG_CONFIG_FILE_H_
