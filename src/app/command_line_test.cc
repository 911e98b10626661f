#include "app/command_line.h"

#include <gtest/gtest.h>

#include <set>

namespace {

CommandLine parse(const std::vector<std::string>& words, const std::set<std::string>& files = {}) {
  return parseCommandLine(words, [&](const std::string& path) { return files.count(path) > 0; });
}

TEST(CommandLine, OptionsComeBeforeThePathAndTheRestIsEchoed) {
  const CommandLine command =
      parse({"--table", "t.csv", "--ignore", "**/*.MRK", "--geojson=m.json", "--threads", "4",
             "--ignore=._*", "task.cfg", "--help", "x"});
  EXPECT_EQ(command.action, Action::run);
  EXPECT_EQ(command.tablePath, "t.csv");
  EXPECT_EQ(command.mapPath, "m.json");
  EXPECT_EQ(command.threads, 4u);
  EXPECT_EQ(command.ignore, (std::vector<std::string>{"**/*.MRK", "._*"}));
  EXPECT_EQ(command.configPath, "task.cfg");
  EXPECT_EQ(command.echoed, (std::vector<std::string>{"--help", "x"}));
}

TEST(CommandLine, ColourIsAutomaticUnlessChosen) {
  const std::pair<std::vector<std::string>, ColourChoice> cases[] = {
      {{"task.cfg"}, ColourChoice::automatic},
      {{"--color=auto", "task.cfg"}, ColourChoice::automatic},
      {{"--color=always", "task.cfg"}, ColourChoice::always},
      {{"--color", "never", "task.cfg"}, ColourChoice::never},
  };
  for (const auto& [words, choice] : cases) {
    SCOPED_TRACE(words.front());
    const CommandLine command = parse(words);
    EXPECT_EQ(command.action, Action::run);
    EXPECT_EQ(command.colour, choice);
  }
}

TEST(CommandLine, WordsThatNameAnExistingFileKeepTheirOldMeaning) {
  const CommandLine help = parse({"--help", "a"}, {"--help"});
  EXPECT_EQ(help.action, Action::run);
  EXPECT_EQ(help.configPath, "--help");
  EXPECT_EQ(help.echoed, std::vector<std::string>{"a"});

  EXPECT_EQ(parse({"-"}).configPath, "-");  // a lone dash was never an option
  EXPECT_EQ(parse({"--", "--version"}).configPath, "--version");
  EXPECT_EQ(parse({}).action, Action::nothing);
}

// The limit in milliseconds, and as given, for the line that names a skipped image.
TEST(CommandLine, ReadTimeoutTakesSecondsWithUpToThreeDecimals) {
  const std::pair<std::string, std::uint64_t> cases[] = {
      {"60", 60000}, {"0.5", 500}, {"0.001", 1}, {"007", 7000}, {"86400", 86400000},
      {"86400.000", 86400000}, {"1.25", 1250}};
  for (const auto& [text, milliseconds] : cases) {
    const CommandLine command = parse({"--read-timeout", text, "task.cfg"});
    EXPECT_EQ(command.action, Action::run) << text;
    EXPECT_EQ(command.readTimeoutMilliseconds, milliseconds) << text;
    EXPECT_EQ(command.readTimeoutText, text);
  }
}

TEST(CommandLine, HelpAndVersionWinOverWhatFollows) {
  EXPECT_EQ(parse({"-h"}).action, Action::help);
  EXPECT_EQ(parse({"--help", "--bogus"}).action, Action::help);
  EXPECT_EQ(parse({"--threads", "2", "--version", "task.cfg"}).action, Action::version);
}

TEST(CommandLine, MistakesAreUsageErrorsThatSayWhat) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--bogus", "task.cfg"}, "unknown option --bogus"},
      {{"-x"}, "unknown option -x"},
      {{"--help=yes"}, "unknown option --help=yes"},
      {{"--table"}, "--table needs a value"},
      {{"--geojson=", "task.cfg"}, "--geojson needs a value"},
      {{"--ignore=", "task.cfg"}, "--ignore needs a value"},
      {{"--table", "t.csv"}, "the configuration path is missing"},
      {{"--"}, "the configuration path is missing"},
      {{"--threads", "0", "task.cfg"}, "--threads needs a number from 1 to 256, not 0"},
      {{"--threads=257", "task.cfg"}, "--threads needs a number from 1 to 256, not 257"},
      {{"--threads", "-3", "task.cfg"}, "--threads needs a number from 1 to 256, not -3"},
      {{"--threads", "4x", "task.cfg"}, "--threads needs a number from 1 to 256, not 4x"},
      {{"--read-timeout", "0", "t"}, "--read-timeout needs a number of seconds above 0 and up to 86400, not 0"},
      {{"--read-timeout=0.0", "t"}, "--read-timeout needs a number of seconds above 0 and up to 86400, not 0.0"},
      {{"--read-timeout", "86400.001", "t"}, "--read-timeout needs a number of seconds above 0 and up to 86400, not 86400.001"},
      {{"--read-timeout", "1.", "t"}, "--read-timeout needs a number of seconds above 0 and up to 86400, not 1."},
      {{"--read-timeout", ".5", "t"}, "--read-timeout needs a number of seconds above 0 and up to 86400, not .5"},
      {{"--read-timeout", "0.0005", "t"}, "--read-timeout needs a number of seconds above 0 and up to 86400, not 0.0005"},
      {{"--read-timeout", "-1", "t"}, "--read-timeout needs a number of seconds above 0 and up to 86400, not -1"},
      {{"--read-timeout", "1e3", "t"}, "--read-timeout needs a number of seconds above 0 and up to 86400, not 1e3"},
      {{"--color=yes", "task.cfg"}, "--color takes auto, always or never, not yes"},
      {{"--color"}, "--color needs a value"},
  };
  for (const auto& [words, problem] : cases) {
    SCOPED_TRACE(words.front());
    const CommandLine command = parse(words);
    EXPECT_EQ(command.action, Action::usageError);
    EXPECT_EQ(command.problem, problem);
  }
}

}  // namespace

namespace {

// Each threshold lands in its own setting; negative pitches are values, not options.
TEST(CommandLine, SurveyThresholdsSetTheirOwnSetting) {
  struct Case {
    const char* option;
    const char* value;
    double SurveySettings::*setting;
    double expected;
  };
  const Case cases[] = {
      {"--outlier-distance", "250", &SurveySettings::outlierDistanceM, 250.0},
      {"--outlier-factor", "5.5", &SurveySettings::outlierMedianFactor, 5.5},
      {"--repeated-images", "4", &SurveySettings::repeatedCount, 4.0},
      {"--horizon-pitch", "-45", &SurveySettings::horizonPitchDeg, -45.0},
      {"--nadir-pitch", "-70.5", &SurveySettings::nadirMedianPitchDeg, -70.5},
      {"--flight-gap", "2", &SurveySettings::flightGapMinutes, 2.0},
      {"--min-overlap", "0.75", &SurveySettings::minOverlap, 0.75},
      {"--turn-yaw", "45", &SurveySettings::turnYawDeg, 45.0},
      {"--blur-pixels", "1", &SurveySettings::blurGsdFraction, 1.0},
  };
  for (const Case& test : cases) {
    const CommandLine command = parse({test.option, test.value, "task.cfg"});
    ASSERT_EQ(command.action, Action::run) << test.option << ": " << command.problem;
    EXPECT_EQ(command.survey.*test.setting, test.expected) << test.option;
    // Every other setting keeps its default.
    SurveySettings expected;
    expected.*test.setting = test.expected;
    for (const Case& other : cases) {
      EXPECT_EQ(command.survey.*other.setting, expected.*other.setting) << test.option;
    }
  }
  for (const char* wrong : {"1.5", "-0.1", "", "0.5x"}) {
    EXPECT_EQ(parse({"--min-overlap", wrong, "task.cfg"}).action, Action::usageError) << wrong;
  }
  EXPECT_EQ(parse({"--check-config", "--strict", "task.cfg"}).action, Action::usageError);
}

}  // namespace
