// The small hostile batch, with a fixed seed, through the built program. Under the
// sanitizer build this is the run that must produce no sanitizer report.
#include <gtest/gtest.h>

#include "hostile_run.h"
#include "report_check.h"
#include "temp_folder.h"

namespace {

TEST(HostileBatch, EndsWithAVerdictAndASoundReport) {
  TempFolder folder;
  // The limit only catches hangs: the run takes a few seconds even under the sanitizers.
  const HostileOutcome outcome = runHostileBatch(PRECHECK_BINARY, folder.path().string(),
                                                 PRECHECK_CORPUS_DIR, smallScale(), 1, 300);
  EXPECT_GT(outcome.files, 2000);
  EXPECT_EQ(outcome.run.exitCode, 1);  // the batch is full of unreadable EXIF blocks
  for (const std::string& problem : outcome.problems) ADD_FAILURE() << problem;
}

// The judge itself: a report it let pass would hide the faults the batch is for.
TEST(ReportProblems, FlagsEveryBrokenReport) {
  const std::set<std::string> names = {"a.jpg", "q\"\x01.jpg"};
  const std::string sound =
      R"({"errors":[{"errcode":104,"error_des":"d","images":["a.jpg","q\"\u0001.jpg"]}]})";
  EXPECT_TRUE(reportProblems(sound, names).empty());
  EXPECT_TRUE(reportProblems(R"({"errors":[{"errcode":105,"error_des":"d"}]})", names).empty());
  const std::string broken[] = {
      "",
      sound.substr(0, sound.size() - 1),  // cut short
      R"({"errors":[{"errcode":104,"error_des":"d","images":["q")"
      "\x01"
      R"(.jpg"]}]})",
      R"({"errors":[{"errcode":104,"error_des":"d","images":["b.jpg"]}]})",
      R"({"errors":[{"errcode":104,"error_des":"d"}]})",
      R"({"errors":[{"errcode":"104","error_des":"d","images":[]}]})",
      R"({"errors":[],"more":1})",
      sound + "x",  // trailing bytes
  };
  for (const std::string& report : broken) {
    EXPECT_FALSE(reportProblems(report, names).empty()) << report;
  }
}

}  // namespace
