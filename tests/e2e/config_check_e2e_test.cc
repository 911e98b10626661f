// What looks wrong in a configuration: --check-config, and the lines a run writes on
// standard error while it takes every value as it always did.
#include <gtest/gtest.h>

#include "batch_run.h"

namespace {

// Saved by an editor that writes a byte-order mark and CR LF line ends, with a switch
// written "True": the mark sorts the first key last.
const std::string kSavedByNotepad =
    "\xEF\xBB\xBF"
    "1focal=true\r\n2gps=True\r\n3make=true\r\n4resolution=true\r\n"
    "5input=images\r\n6output=check\r\n";

const std::vector<std::string> kNotepadDiagnostics{
    "2gps=True: only exactly \"true\" switches a check on, and this looks meant as on: write "
    "true to run the focal length check or false to leave it off; the run stops here, with exit "
    "code 2",
    "6output=check: the input folder does not exist: no file is found, and a run reports 105",
    "\xEF\xBB\xBF"
    "1focal=true: the key starts with a byte-order mark (bytes EF BB BF, as some "
    "editors save), which sorts it after every key that starts with ASCII: its value is taken "
    "as the output folder",
    "\xEF\xBB\xBF"
    "1focal=true: a switch value in the place of the output folder: the keys may "
    "not sort in the order meant, and a folder of this name is used",
};

// Each of `lines` behind `prefix`, ended by a line break.
std::string eachBehind(const std::string& prefix, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& each : lines) text += prefix + each + "\n";
  return text;
}

TEST(ConfigCheck, ListsHowEachKeyBindsAndWhatLooksWrongWithoutRunningAnything) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.folder().writeFile("task.cfg", kSavedByNotepad);
  const ProgramRun run = runWords(batch.folder(), {"--check-config", "task.cfg"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(run.output,
            withConsoleLineEnds("task.cfg: 6 keys in sorted order, and the setting each binds to\n"
                                "  2gps=True  ->  focal length check: off\n"
                                "  3make=true  ->  GPS check: on\n"
                                "  4resolution=true  ->  camera make check: on\n"
                                "  5input=images  ->  resolution check: off\n"
                                "  6output=check  ->  input folder: does not exist\n"
                                "  \xEF\xBB\xBF"
                                "1focal=true  ->  output folder: does not exist yet; a run "
                                "creates it\n"
                                "What looks wrong:\n" +
                                eachBehind("  ", kNotepadDiagnostics)));
  EXPECT_FALSE(std::filesystem::exists(batch.folder().path() / "true"));
  EXPECT_FALSE(batch.hasReport());
}

TEST(ConfigCheck, SoundConfigurationPassesAndMissingValuesAreShown) {
  Batch batch;
  batch.folder().writeFile("task.cfg", Batch::configText(kAllChecks));
  const ProgramRun sound = runWords(batch.folder(), {"--check-config", "task.cfg"});
  EXPECT_EQ(sound.exitCode, 0);
  EXPECT_EQ(sound.output,
            withConsoleLineEnds("task.cfg: 6 keys in sorted order, and the setting each binds to\n"
                                "  1focal=true  ->  focal length check: on\n"
                                "  2gps=true  ->  GPS check: on\n"
                                "  3make=true  ->  camera make check: on\n"
                                "  4resolution=true  ->  resolution check: on\n"
                                "  5input=images  ->  input folder: exists\n"
                                "  6output=check  ->  output folder: does not exist yet; a run "
                                "creates it\n"
                                "Nothing looks wrong.\n"));

  batch.folder().writeFile("short.cfg", "a=true\nb=false\n");
  const ProgramRun short_ = runWords(batch.folder(), {"--check-config", "short.cfg"});
  EXPECT_EQ(short_.exitCode, 1);
  EXPECT_EQ(
      short_.output,
      withConsoleLineEnds("short.cfg: 2 keys in sorted order, and the setting each binds to\n"
                          "  a=true  ->  focal length check: on\n"
                          "  b=false  ->  GPS check: off\n"
                          "  (no key)  ->  camera make check: missing\n"
                          "  (no key)  ->  resolution check: missing\n"
                          "  (no key)  ->  input folder: missing\n"
                          "  (no key)  ->  output folder: missing\n"
                          "What looks wrong:\n"
                          "  the file holds 2 values; 6 are needed, and a run ends at once\n"));

  const ProgramRun missing = runWords(batch.folder(), {"--check-config", "none.cfg"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.output, "");
  EXPECT_EQ(missing.errors,
            withConsoleLineEnds("precheck: the configuration none.cfg cannot be opened\n"));
}

// The run says on standard error what looks wrong; a switch meant as on stops it
// before any check. Without that switch it takes every value as it always did.
TEST(ConfigCheck, RunSaysWhatLooksWrongAndStopsForASwitchMeantAsOn) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.folder().writeFile("task.cfg", kSavedByNotepad);
  const ProgramRun stopped = runWords(batch.folder(), {"task.cfg"});
  EXPECT_EQ(stopped.exitCode, 2);
  EXPECT_EQ(stopped.output, withConsoleLineEnds("task.cfg\n2gps=True\n3make=true\n4resolution=true\n"
                                                "5input=images\n6output=check\n"
                                                "\xEF\xBB\xBF"
                                                "1focal=true\n"));
  // Standard error shows the mark, which has no width, as the terminal does.
  std::string errors = eachBehind("precheck: ", kNotepadDiagnostics);
  for (std::size_t at; (at = errors.find("\xEF\xBB\xBF")) != std::string::npos;) {
    errors.replace(at, 3, "\\xEF\\xBB\\xBF");
  }
  EXPECT_EQ(stopped.errors, withConsoleLineEnds(errors));
  EXPECT_FALSE(std::filesystem::exists(batch.folder().path() / "true"));

  std::string lowered = kSavedByNotepad;
  lowered.replace(lowered.find("2gps=True"), 9, "2gps=true");
  batch.folder().writeFile("task.cfg", lowered);
  const ProgramRun run = runWords(batch.folder(), {"task.cfg"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, withConsoleLineEnds("task.cfg\n2gps=true\n3make=true\n4resolution=true\n"
                                            "5input=images\n6output=check\n"
                                            "\xEF\xBB\xBF"
                                            "1focal=true\n") +
                            line(messages::kCanNotFoundFile) + cameraMakeStart({}) + block({}) +
                            focalLengthStart({}) + gpsStart({}) + line(kNoImagesReport));
  EXPECT_EQ(run.errors.find("2gps"), std::string::npos) << run.errors;
  EXPECT_TRUE(std::filesystem::exists(batch.folder().path() / "true" / "error.json"));
}

}  // namespace
