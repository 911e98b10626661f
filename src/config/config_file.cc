#include "config/config_file.h"

#include <algorithm>
#include <iterator>

#include "platform/platform.h"

namespace {

// Values bind to settings by the place of their key in byte order.
TaskConfig settingsFrom(const ConfigEntries& entries) {
  TaskConfig config;
  for (std::size_t place = 0; place < kSettingCount; ++place) {
    config.*kSettings[place].value = std::string(entries[place].value);
  }
  return config;
}

// std::string_view compares as unsigned bytes, which is the order the settings rely on.
// Of equal keys the later line comes last: every view points into the one text.
bool beforeInBindingOrder(const ConfigEntry& a, const ConfigEntry& b) {
  const int order = a.key.compare(b.key);
  return order != 0 ? order < 0 : a.key.data() < b.key.data();
}

}  // namespace

ConfigEntries::ConfigEntries(std::string text)
    : text_(std::make_unique<const std::string>(std::move(text))) {
  const std::string_view all = *text_;
  // One entry at most per line: reserved at once, the entries never outgrow the text's
  // multiple by the doubling of their vector.
  entries_.reserve(static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n')) + 1);
  std::string_view key;
  std::string_view value;
  for (std::size_t start = 0; start < all.size();) {
    const std::size_t end = all.find('\n', start);
    std::string_view line = all.substr(start, end == std::string_view::npos ? end : end - start);
    // Read as Windows text mode does: a CR that ends a line belongs to its line break;
    // the last line, without a line feed, keeps it.
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (parseConfigLine(line, key, value)) entries_.push_back(ConfigEntry{key, value});
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  std::sort(entries_.begin(), entries_.end(), beforeInBindingOrder);
  // Of each run of equal keys, the last line.
  auto kept = entries_.begin();
  for (auto at = entries_.begin(); at != entries_.end(); ++at) {
    const auto next = std::next(at);
    if (next != entries_.end() && next->key == at->key) continue;
    *kept++ = *at;
  }
  entries_.erase(kept, entries_.end());
  // A copy costs as much as the entries again: only worth it for mostly comments.
  if (entries_.size() < entries_.capacity() / 4) entries_.shrink_to_fit();
}

LoadedConfig loadTaskConfig(const std::string& path, std::ifstream& stream, Console& console) {
  LoadedConfig loaded;
  if (!openConfigFile(path, stream)) return loaded;
  loaded.entries = ConfigEntries(readConfigText(stream));
  echoConfigEntries(loaded.entries, console);
  if (loaded.entries.size() < kSettingCount) {
    loaded.status = ConfigStatus::tooFewValues;
    return loaded;
  }
  loaded.settings = settingsFrom(loaded.entries);
  loaded.status = ConfigStatus::ready;
  return loaded;
}

bool openConfigFile(const std::string& path, std::ifstream& stream) {
  if (platform::isRegularFile(path)) stream.open(platform::streamPath(path));
  return stream.is_open();
}

std::string readConfigText(std::istream& in) {
  std::string text;
  // The file's size, so that the text is held once and not grown by doubling.
  const std::istream::pos_type start = in.tellg();
  if (start != std::istream::pos_type(-1) && in.seekg(0, std::ios::end)) {
    const std::istream::pos_type end = in.tellg();
    if (end != std::istream::pos_type(-1) && end > start) {
      text.reserve(static_cast<std::size_t>(end - start));
    }
    in.seekg(start);
  }
  in.clear();
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  return text;
}

bool parseConfigLine(std::string_view line, std::string_view& key, std::string_view& value) {
  if (line.empty()) return false;
  const std::size_t hash = line.find('#');
  if (hash == 0) return false;
  const std::size_t contentLength = hash == std::string_view::npos ? line.size() : hash;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals >= contentLength) return false;
  key = trimBlanks(line.substr(0, equals));
  if (key.empty()) return false;
  value = trimBlanks(line.substr(equals + 1, contentLength - equals - 1));
  return true;
}

std::string_view trimBlanks(std::string_view text) {
  const char* blanks = " \t";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return std::string_view();
  const std::size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

void echoConfigEntries(const ConfigEntries& entries, Console& console) {
  for (const ConfigEntry& entry : entries) {
    console.writeLine({outside(entry.key), own("="), outside(entry.value)});
  }
}
