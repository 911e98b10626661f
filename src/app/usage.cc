#include "app/usage.h"

#include <algorithm>
#include <cstddef>

#include "app/command_line.h"
#include "config/task_config.h"
#include "load/image_loader.h"

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
         "Options, before TASK.CFG only:\n"
         "  -h, --help          print this text and exit\n"
         "      --version       print the version and exit\n"
         "      --check-config  show which setting each key binds to and what looks\n"
         "                      wrong, without running the checks\n"
         "      --table FILE    also write a CSV table, one row per image\n"
         "      --geojson FILE  also write the image positions as GeoJSON points\n"
         "      --threads N     read images with N workers, 1 to " +
         std::to_string(kMostThreads) + " (default " + std::to_string(kDefaultLoadWorkers) +
         ",\n"
         "                      or the environment variable PRECHECK_THREADS)\n"
         "      --              take the next word as TASK.CFG even if it starts with -\n"
         "\n"
         "Exit codes:\n"
         "  0  the batch passed: every check that ran passed, and files were found\n"
         "  1  a check found offending images, no file was found, the configuration\n"
         "     could not be read, or the file of --table or --geojson could not be\n"
         "     written; with --check-config: something in the configuration looks wrong\n"
         "  2  the command line could not be understood, or a file it asks for would\n"
         "     replace an input, the report or another such file (nothing is done)\n"
         "\n"
         "More in the manual page precheck(1) and in README.md.";
}

const char* versionText() { return "precheck " PRECHECK_VERSION; }
