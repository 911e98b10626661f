#include "config/config_check.h"

#include <iterator>

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

// Problems in words, for the count of those not listed one by one; in the order of
// ConfigProblem.
const char* const kProblemsInWords[] = {
    "keys that start with a byte-order mark",
    "keys past the sixth, whose values no setting takes",
    "switches that look meant as on",
    "folders in the place of a switch",
    "switch values in the place of a folder",
    "folders in quotes",
    "input folders that do not exist",
};
constexpr std::size_t kProblemCount = std::size(kProblemsInWords);

// Longer keys and values are cut where they are shown: people read no more.
constexpr std::size_t kLongestShown = 256;

std::string shown(std::string_view text) {
  if (text.size() <= kLongestShown) return std::string(text);
  return std::string(text.substr(0, kLongestShown)) + " ...";
}

// The value without one pair of quotes around it.
std::string unquoted(const std::string& value) {
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  return quoted ? value.substr(1, value.size() - 2) : value;
}

bool isQuoted(const std::string& value) { return unquoted(value) != value; }

// Without the blanks of any kind that a value can keep around it: trimming takes only
// spaces and tabs, and an editor may leave a form feed or a no-break space.
std::string withoutBlanks(const std::string& value) {
  std::string text = value;
  for (bool trimmed = true; trimmed && !text.empty();) {
    trimmed = false;
    for (const char* blank : {" ", "\t", "\v", "\f", "\r", "\xC2\xA0"}) {
      const std::string b = blank;
      if (text.size() >= b.size() && text.compare(0, b.size(), b) == 0) {
        text.erase(0, b.size());
        trimmed = true;
      }
      if (text.size() >= b.size() && text.compare(text.size() - b.size(), b.size(), b) == 0) {
        text.erase(text.size() - b.size());
        trimmed = true;
      }
    }
  }
  return text;
}

std::string lowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The spellings of "on" that people write in other configuration files.
bool looksMeantAsOn(const std::string& value) {
  const std::string word = lowerAscii(withoutBlanks(unquoted(withoutBlanks(value))));
  for (const char* on : {"true", "yes", "y", "on", "1", "t", "enable", "enabled"}) {
    if (word == on) return !isOn(value);
  }
  return false;
}

bool looksLikePath(const std::string& value) {
  return value.find_first_of("/\\") != std::string::npos;
}

// "the GPS check" or "the input folder".
std::string theSetting(const Setting& setting) { return std::string("the ") + setting.name; }

}  // namespace

ConfigDiagnoses diagnoseConfig(const ConfigEntries& entries,
                               const std::function<bool(const std::string&)>& exists) {
  ConfigDiagnoses found;
  std::size_t counts[kProblemCount] = {};
  std::size_t place = 0;
  for (const ConfigEntry& entry : entries) {
    const std::string_view key = entry.key;
    const std::string value(entry.value);
    const auto say = [&](ConfigProblem problem, const std::string& meaning,
                         bool stopsRun = false) {
      if (++counts[static_cast<std::size_t>(problem)] > kDiagnosticsPerProblem) return;
      found.listed.push_back({problem, shown(key), shown(value), meaning, stopsRun});
    };
    const Setting* setting = settingAt(place);
    if (key.substr(0, 3) == kByteOrderMark) {
      say(ConfigProblem::byteOrderMark,
          "the key starts with a byte-order mark (bytes EF BB BF, as some editors save), "
          "which sorts it after every key that starts with ASCII: its value is taken " +
          (setting != nullptr ? "as " + theSetting(*setting) : std::string("by no setting")));
    }
    const bool isSwitch = setting != nullptr && setting->kind == SettingKind::checkSwitch;
    if (setting == nullptr) {
      say(ConfigProblem::unusedKey,
          "only the first six keys in sorted order are used: no setting takes this value");
    } else if (isSwitch && looksMeantAsOn(value)) {
      say(ConfigProblem::switchMeantAsOn,
          "only exactly \"true\" switches a check on, and this looks meant as on: write true "
          "to run " + theSetting(*setting) + " or false to leave it off; the run stops here, "
          "with exit code 2",
          true);
    } else if (isSwitch && looksLikePath(value)) {
      say(ConfigProblem::folderAsSwitch,
          "a folder in the place of " + theSetting(*setting) +
          ": the keys may not sort in the order meant, and the check does not run");
    } else if (!isSwitch && (value == "true" || value == "false")) {
      say(ConfigProblem::switchAsFolder,
          "a switch value in the place of " + theSetting(*setting) +
          ": the keys may not sort in the order meant, and a folder of this name is used");
    } else if (!isSwitch && isQuoted(value)) {
      say(ConfigProblem::quotedFolder,
          "the quotes are part of the folder's name, which is used as written");
    } else if (setting->kind == SettingKind::inputFolder && !exists(std::string(entry.value))) {
      say(ConfigProblem::missingInputFolder,
          "the input folder does not exist: no file is found, and a run reports 105");
    }
    ++place;
  }
  for (std::size_t problem = 0; problem < kProblemCount; ++problem) {
    if (counts[problem] > kDiagnosticsPerProblem) {
      found.unlisted.push_back({static_cast<ConfigProblem>(problem),
                                counts[problem] - kDiagnosticsPerProblem,
                                kProblemsInWords[problem]});
    }
  }
  return found;
}
