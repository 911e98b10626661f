#include "config/config_file.h"

#include "platform/platform.h"

namespace {

// Values bind to settings by the place of their key in byte order.
TaskConfig settingsFrom(const std::vector<std::string>& values) {
  TaskConfig config;
  for (std::size_t place = 0; place < kSettingCount; ++place) {
    config.*kSettings[place].value = values[place];
  }
  return config;
}

}  // namespace

LoadedConfig loadTaskConfig(const std::string& path, std::ifstream& stream, Console& console) {
  LoadedConfig loaded;
  if (!openConfigFile(path, stream)) return loaded;
  readConfigLines(stream, loaded.entries);
  std::vector<std::string> values;
  listConfigValues(loaded.entries, values, console);
  if (values.size() < kSettingCount) {
    loaded.status = ConfigStatus::tooFewValues;
    return loaded;
  }
  loaded.settings = settingsFrom(values);
  loaded.status = ConfigStatus::ready;
  return loaded;
}

bool openConfigFile(const std::string& path, std::ifstream& stream) {
  if (platform::isRegularFile(path)) stream.open(path);
  return stream.is_open();
}

void readConfigLines(std::istream& in, ConfigMap& map) {
  std::string line;
  std::string key;
  std::string value;
  while (std::getline(in, line)) {
    // Read as Windows text mode does: a CR that ends a line belongs to its line break.
    if (!in.eof() && !line.empty() && line.back() == '\r') line.pop_back();
    if (parseConfigLine(line, key, value)) map[key] = value;
  }
}

bool parseConfigLine(const std::string& line, std::string& key, std::string& value) {
  if (line.empty()) return false;
  std::size_t hash = line.find('#');
  if (hash == 0) return false;
  std::size_t contentLength = hash == std::string::npos ? line.size() : hash;
  std::size_t equals = line.find('=');
  if (equals == std::string::npos || equals >= contentLength) return false;
  key.assign(line, 0, equals);
  trimBlanks(key);
  if (key.empty()) return false;
  value.assign(line, equals + 1, contentLength - equals - 1);
  trimBlanks(value);
  return true;
}

void trimBlanks(std::string& text) {
  const char* blanks = " \t";
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) {
    text.clear();
    return;
  }
  std::size_t last = text.find_last_not_of(blanks);
  text = text.substr(first, last - first + 1);
}

void listConfigValues(const ConfigMap& map, std::vector<std::string>& values,
                      Console& console) {
  for (const auto& [key, value] : map) {
    console.writeLine({outside(key), own("="), outside(value)});
    values.push_back(value);
  }
}
