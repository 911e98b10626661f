// Whole runs of the built program: exact standard output, exit code and files left.
#include <gtest/gtest.h>

#include "common/messages.h"
#include "platform_conventions.h"
#include "run_program.h"
#include "temp_folder.h"

namespace {

ProgramRun runIn(const TempFolder& folder, const std::vector<std::string>& arguments) {
  return runProgram(PRECHECK_BINARY, arguments, folder.path().string());
}

// A configuration whose keys put the values in the order the program binds them.
// Its lines are also what the run echoes, since the keys are already in order.
std::string config(const std::string& focal, const std::string& gps, const std::string& make,
                   const std::string& resolution, const std::string& input,
                   const std::string& output) {
  return "1focal=" + focal + "\n2gps=" + gps + "\n3make=" + make + "\n4resolution=" +
         resolution + "\n5input=" + input + "\n6output=" + output + "\n";
}

const std::string kAllClear = std::string(messages::kAllClear) + "\n";

TEST(Driver, NoArgumentPrintsNothingAndPasses) {
  TempFolder folder;
  ProgramRun run = runIn(folder, {});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, "");
}

TEST(Driver, MissingConfigurationEndsTheRunBeforeAnyWork) {
  TempFolder folder;
  ProgramRun run = runIn(folder, {"cfg.txt", "a", "b"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, withConsoleLineEnds("cfg.txt\n\na\n\nb\nopen file failed!\n"));
}

// Values that look meant as off are off; a run with every check off passes and says on
// standard error that nothing was checked.
TEST(Driver, AllSwitchesOffWithFilesGivesTheAllClear) {
  TempFolder folder;
  folder.writeFile("images/a.jpg", "not an image");
  folder.writeFile("task.cfg", config("false", "no", "off", "", "images", "out"));
  RunOptions options;
  options.keepErrors = true;
  ProgramRun run = runProgram(PRECHECK_BINARY, {"task.cfg"}, folder.path().string(), options);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output,
            withConsoleLineEnds("task.cfg\n" + config("false", "no", "off", "", "images", "out") +
                                kAllClear));
  EXPECT_EQ(run.errors, withConsoleLineEnds("precheck: no check ran: every switch is off (only "
                                            "exactly \"true\" switches a check on)\n"));
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "out"));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "out" / "error.json"));
}

// A switch that looks meant as on but would leave its check off stops the run before
// any check: a pass would say that checks passed that never ran.
TEST(Driver, SwitchMeantAsOnStopsTheRunBeforeAnyCheck) {
  for (const std::string value : {"True", "TRUE", "\"true\"", "yes", "on", "1", "y", "enable",
                                  "enabled", "true\f", "\xC2\xA0true"}) {
    SCOPED_TRACE(value);
    TempFolder folder;
    folder.writeFile("images/a.jpg", "not an image");
    const std::string text = config("true", value, "true", "true", "images", "out");
    folder.writeFile("task.cfg", text);
    RunOptions options;
    options.keepErrors = true;
    ProgramRun run = runProgram(PRECHECK_BINARY, {"task.cfg"}, folder.path().string(), options);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.output, withConsoleLineEnds("task.cfg\n" + text));
    EXPECT_EQ(run.errors.rfind("precheck: 2gps=", 0), 0u) << run.errors;
    EXPECT_NE(run.errors.find(withConsoleLineEnds("write true to run the GPS check or false to "
                                                  "leave it off; the run stops here, with exit "
                                                  "code 2\n")),
              std::string::npos)
        << run.errors;
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "out"));
  }
}

TEST(Driver, OutputFolderIsCreatedWithItsParents) {
  TempFolder folder;
  folder.writeFile("images/a.jpg", "x");
  folder.writeFile("task.cfg", config("", "", "", "", "images", "deep/er/out"));
  ProgramRun run = runIn(folder, {"task.cfg"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "deep" / "er" / "out"));
}

TEST(Driver, TooFewValuesEndTheRunWithOneLine) {
  struct Case {
    const char* text;
    const char* echo;
    const char* holds;
  };
  const Case cases[] = {
      {"# nothing but a comment\n", "", "0 values"},
      {"only=one\n", "only=one\n", "1 value"},
      {"a=1\nb=2\n# c=3\nd=4\r\n", "a=1\nb=2\nd=4\n", "3 values"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.holds);
    TempFolder folder;
    folder.writeFile("task.cfg", c.text);
    ProgramRun run = runIn(folder, {"task.cfg"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, withConsoleLineEnds("task.cfg\n" + std::string(c.echo) +
                                              "the task configuration file holds " + c.holds +
                                              "; 6 are needed\n"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
  }
}

// Linux would open a folder for reading and then read nothing from it; it is refused
// as Windows refuses it.
TEST(Driver, ConfigurationThatIsAFolderCannotBeOpened) {
  TempFolder folder;
  folder.makeFolder("task.cfg");
  ProgramRun run = runIn(folder, {"task.cfg"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, withConsoleLineEnds("task.cfg\nopen file failed!\n"));
}

// The runtime may not know the locale the environment names: Linux hosts know locales
// that do not exist, and MinGW's C++ library knows none but "C". The run then goes on
// in the classic locale.
TEST(Driver, UnknownLocaleFallsBackSilently) {
  const EnvironmentChanges cases[] = {
      {{"LC_ALL", "xx_NOWHERE.UTF-8"}},
      {{"LC_ALL", ""}, {"LANG", "C.UTF-8"}},
  };
  for (const EnvironmentChanges& changes : cases) {
    SCOPED_TRACE(changes.back().first + "=" + changes.back().second);
    TempFolder folder;
    folder.writeFile("images/a.jpg", "x");
    folder.writeFile("task.cfg", config("", "", "", "", "images", "out"));
    RunOptions options;
    options.environment = changes;
    ProgramRun run = runProgram(PRECHECK_BINARY, {"task.cfg"}, folder.path().string(), options);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, withConsoleLineEnds("task.cfg\n" +
                                              config("", "", "", "", "images", "out") + kAllClear));
  }
}

}  // namespace
