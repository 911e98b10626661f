#include "app/usage.h"

#include <algorithm>
#include <cstddef>

#include "app/command_line.h"
#include "config/task_config.h"

// The build passes the project's version in; see CMakeLists.txt.
#ifndef PRECHECK_VERSION
#error "PRECHECK_VERSION must be defined by the build"
#endif

namespace {

// "1st", "2nd", ... for the places of the settings.
std::string ordinal(std::size_t number) {
  const char* suffix = number == 1 ? "st" : number == 2 ? "nd" : number == 3 ? "rd" : "th";
  return std::to_string(number) + suffix;
}

const char* meaningOf(SettingKind kind) {
  switch (kind) {
    case SettingKind::checkSwitch:
      return "on when the value is exactly \"true\"";
    case SettingKind::inputFolder:
      return "every file below it, at any depth, is checked";
    case SettingKind::outputFolder:
      break;
  }
  return "receives error.json; created when missing";
}

const char* exampleValueOf(SettingKind kind) {
  switch (kind) {
    case SettingKind::checkSwitch:
      return "true";
    case SettingKind::inputFolder:
      return "survey/images";
    case SettingKind::outputFolder:
      break;
  }
  return "survey/check";
}

// The settings as a table, then a configuration that sets each of them.
std::string settingsText() {
  std::string table;
  std::string example = "For example:\n";
  for (std::size_t place = 0; place < kSettingCount; ++place) {
    const Setting& setting = kSettings[place];
    std::string name = setting.name;
    name.resize(std::max<std::size_t>(name.size() + 1, 19), ' ');
    table += "  " + ordinal(place + 1) + "  " + name + meaningOf(setting.kind) + "\n";
    example += std::string("  ") + setting.exampleKey + "=" + exampleValueOf(setting.kind) + "\n";
  }
  return table + example;
}

// Each option with its value and its help, the help in a column of its own.
std::string optionsText() {
  constexpr std::size_t kHelpColumn = 22;
  std::string text;
  const auto addLine = [&](std::string names, const std::string& help) {
    names.resize(std::max(names.size() + 2, kHelpColumn), ' ');
    text += names + help + "\n";
  };
  for (std::size_t i = 0; i < kOptionCount; ++i) {
    const Option& option = kOptions[i];
    std::string names = option.alias != nullptr ? std::string("  ") + option.alias + ", "
                                                : std::string("      ");
    names += option.name;
    if (option.value != nullptr) names += std::string(" ") + option.value;
    std::string help = option.help;
    for (std::size_t end; (end = help.find('\n')) != std::string::npos; help.erase(0, end + 1)) {
      addLine(names, help.substr(0, end));
      names.clear();
    }
    addLine(names, help);
  }
  addLine("      --", "take the next word as TASK.CFG even if it starts with -");
  return text;
}

}  // namespace

std::string usageText() {
  return std::string() +
         "Usage: precheck [OPTION]... TASK.CFG\n"
         "Checks a batch of photographs before photogrammetric processing: that all\n"
         "images share one pixel resolution and one camera make, that none has a zero or\n"
         "missing focal length, and that each carries a usable GPS position. Prints what it\n"
         "finds and writes error.json into the output folder.\n"
         "\n"
         "TASK.CFG holds lines of key=value. The key names mean nothing; the keys sorted\n"
         "byte by byte give the values their meaning:\n" +
         settingsText() +
         "\n"
         "Options, before TASK.CFG only:\n" +
         optionsText() +
         "\n"
         "Exit codes:\n"
         "  0  the batch passed: every check that ran passed, and files were found\n"
         "  1  a check found offending images, no file was found, the configuration\n"
         "     could not be read, or the file of --table or --geojson could not be\n"
         "     written; with --check-config: something in the configuration looks wrong\n"
         "  2  nothing was done: the command line could not be understood, a switch\n"
         "     looks meant as on but is not exactly \"true\", or a file it asks for\n"
         "     would replace an input, the report or another such file\n"
         "\n"
         "More in the manual page precheck(1) and in README.md.";
}

const char* versionText() { return "precheck " PRECHECK_VERSION; }
