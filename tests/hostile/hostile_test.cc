// The small hostile batch, with a fixed seed, through the built program. Under the
// sanitizer build this is the run that must produce no sanitizer report.
#include <gtest/gtest.h>

#include "hostile_run.h"
#include "temp_folder.h"

namespace {

TEST(HostileBatch, EndsWithAVerdictAndASoundReport) {
  TempFolder folder;
  // The limit only catches hangs: the run takes a few seconds even under the sanitizers.
  const HostileOutcome outcome = runHostileBatch(PRECHECK_BINARY, folder.path().string(),
                                                 PRECHECK_CORPUS_DIR, smallScale(), 1, 300);
  EXPECT_GT(outcome.names, 1000u);
  EXPECT_EQ(outcome.run.exitCode, 1);  // the batch is full of unreadable EXIF blocks
  for (const std::string& problem : outcome.problems) ADD_FAILURE() << problem;
}

}  // namespace
