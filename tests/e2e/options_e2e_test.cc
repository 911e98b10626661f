// The options for people: help, version, mistakes on the command line, --threads;
// and the command lines of before, which must keep their meaning.
#include <gtest/gtest.h>

#include "batch_run.h"

namespace {

TEST(Options, HelpDescribesEveryOptionAndVersionComesFromTheBuild) {
  TempFolder folder;
  for (const char* word : {"--help", "-h"}) {
    SCOPED_TRACE(word);
    const ProgramRun help = runWords(folder, {word, "task.cfg"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.errors, "");
    EXPECT_EQ(help.output.rfind(withConsoleLineEnds("Usage: precheck [OPTION]... TASK.CFG\n"), 0),
              0u);
    for (const char* mentioned : {"--version", "--check-config", "--table FILE", "--geojson FILE", "--threads N",
                                  "1focal=true", "6output=", "Exit codes"}) {
      EXPECT_NE(help.output.find(mentioned), std::string::npos) << mentioned;
    }
  }
  const ProgramRun version = runWords(folder, {"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.output, withConsoleLineEnds("precheck " PRECHECK_VERSION "\n"));
}

TEST(Options, MistakesGiveOneUsageLineAndExitCodeTwo) {
  TempFolder folder;
  const std::vector<std::string> cases[] = {{"--bogus", "task.cfg"},
                                            {"--table"},
                                            {"--threads", "0", "task.cfg"},
                                            {"--geojson", "m.json"}};
  for (const std::vector<std::string>& words : cases) {
    SCOPED_TRACE(words.front());
    const ProgramRun run = runWords(folder, words);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.errors.rfind("precheck: ", 0), 0u);
    EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << run.errors;
  }
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "m.json"));
}

// A configuration named like an option, and option-like words behind the path, read
// as they always did.
TEST(Options, CommandLinesOfBeforeKeepTheirMeaning) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  const std::string config = Batch::configText(kAllChecks);
  batch.folder().writeFile("--help", config);
  const ProgramRun named = runWords(batch.folder(), {"--help", "--version"});
  EXPECT_EQ(named.exitCode, 0);
  EXPECT_EQ(named.output, withConsoleLineEnds("--help\n\n--version\n" + config) +
                              surveyPassingAllChecks({"a.jpg"}, 1));

  const ProgramRun missing = runWords(batch.folder(), {"-", "--bogus"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.output, withConsoleLineEnds("-\n\n--bogus\nopen file failed!\n"));
}

TEST(Options, ThreadsOptionChangesNothingButTheWorkers) {
  Batch batch;
  PhotoSpec withoutGps = surveyPhoto();
  withoutGps.gps.reset();
  for (int i = 0; i < 20; ++i) batch.addPhoto("p" + std::to_string(i) + ".jpg", surveyPhoto());
  batch.addPhoto("q.jpg", withoutGps);
  const ProgramRun usual = batch.run(kAllChecks);
  const std::string report = batch.report();
  for (const char* threads : {"1", "256"}) {
    SCOPED_TRACE(threads);
    const ProgramRun run = batch.run(kAllChecks, {"--threads", threads});
    EXPECT_EQ(run.exitCode, usual.exitCode);
    EXPECT_EQ(run.output, usual.output);
    EXPECT_EQ(batch.report(), report);
  }
}

}  // namespace
