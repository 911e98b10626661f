#include "app/config_report.h"

#include <cstdio>
#include <fstream>
#include <vector>

#include "app/error_line.h"
#include "common/console.h"
#include "config/config_check.h"
#include "platform/platform.h"

namespace {

// What a value makes of its setting.
std::string stateOf(const Setting& setting, const std::string& value) {
  switch (setting.kind) {
    case SettingKind::checkSwitch:
      return isOn(value) ? "on" : "off";
    case SettingKind::inputFolder:
      return platform::pathExists(value) ? "exists" : "does not exist";
    case SettingKind::outputFolder:
      break;
  }
  return platform::pathExists(value) ? "exists" : "does not exist yet; a run creates it";
}

}  // namespace

int checkConfiguration(const std::string& path, Console& console) {
  std::ifstream file;
  if (!openConfigFile(path, file)) {
    printErrorLine("precheck: the configuration %s cannot be opened\n",
                   oneLine(path).c_str());
    return 1;
  }
  const ConfigEntries entries(readConfigText(file));
  console.writeLine({outside(path), own(": " + std::to_string(entries.size()) +
                                        " keys in sorted order, and the setting each binds to")});
  std::size_t place = 0;
  for (const auto& [key, value] : entries) {
    const Setting* setting = settingAt(place);
    const std::string binding = setting == nullptr
                                    ? "not used"
                                    : std::string(setting->name) + ": " + stateOf(*setting, std::string(value));
    console.writeLine(
        {own("  "), outside(key), own("="), outside(value), own("  ->  "), own(binding)});
    ++place;
  }
  for (; place < kSettingCount; ++place) {
    console.writeLine({own("  (no key)  ->  "), own(settingAt(place)->name), own(": missing")});
  }
  const ConfigDiagnoses diagnoses = diagnoseConfig(entries, platform::pathExists);
  const bool tooFew = entries.size() < kSettingCount;
  if (diagnoses.empty() && !tooFew) {
    console.writeLine({own("Nothing looks wrong.")});
    return 0;
  }
  console.writeLine({own("What looks wrong:")});
  if (tooFew) {
    console.writeLine({own("  the file holds " + std::to_string(entries.size()) +
                           (entries.size() == 1 ? " value" : " values") +
                           "; 6 are needed, and a run ends at once")});
  }
  for (const ConfigDiagnostic& diagnostic : diagnoses.listed) {
    console.writeLine({own("  "), outside(diagnostic.key), own("="), outside(diagnostic.value),
                       own(": "), own(diagnostic.meaning)});
  }
  for (const ConfigDiagnoses::Unlisted& more : diagnoses.unlisted) {
    console.writeLine({own("  and " + std::to_string(more.count) + " more " + more.what)});
  }
  return 1;
}

bool warnAboutConfig(const ConfigEntries& entries) {
  const ConfigDiagnoses diagnoses = diagnoseConfig(entries, platform::pathExists);
  for (const ConfigDiagnostic& diagnostic : diagnoses.listed) {
    printErrorLine("precheck: %s=%s: %s\n", oneLine(diagnostic.key).c_str(),
                   oneLine(diagnostic.value).c_str(), diagnostic.meaning.c_str());
  }
  for (const ConfigDiagnoses::Unlisted& more : diagnoses.unlisted) {
    printErrorLine("precheck: and %zu more %s\n", more.count, more.what);
  }
  return diagnoses.stopsRun();
}
