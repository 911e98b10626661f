#include "app/progress_bar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gbk_text.h"

namespace {

TEST(ProgressBar, TextSaysDoneOfAllRateAndTimeLeft) {
  struct Case {
    std::size_t done;
    std::size_t all;
    double seconds;
    const char* text;
  };
  const Case cases[] = {
      {0, 1000, 0, "[----------] 0 of 1000 images"},
      // No rate in the first second: too little to promise a time.
      {10, 1000, 0.5, "[----------] 10 of 1000 images"},
      {500, 1000, 4, "[#####-----] 500 of 1000 images, 125/s, about 4 s left"},
      {3, 100, 2, "[----------] 3 of 100 images, 1.5/s, about 1 min 5 s left"},
      {1000, 100000, 10, "[----------] 1000 of 100000 images, 100/s, about 16 min 30 s left"},
      {10, 100000, 10, "[----------] 10 of 100000 images, 1.0/s, about 27 h 46 min left"},
      {1000, 1000, 8, "[##########] 1000 of 1000 images, 125/s"},
      {1, 1000000, 60, "[----------] 1 of 1000000 images, 0.0/s"},
      {1, 1, 0, "[##########] 1 of 1 image"},
      {0, 0, 0, "[##########] 0 of 0 images"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(progressText(Language::english, c.done, c.all, c.seconds), c.text);
  }
  // The line fits 80 columns, or a terminal would wrap it and each return would leave a
  // copy behind.
  for (const double seconds : {1.0, 7.0, 3599.0, 86399.0}) {
    for (const std::size_t done : {1u, 9999u, 999999u}) {
      for (const Language language : {Language::english, Language::chinese}) {
        EXPECT_LT(progressText(language, done, 1000000, seconds).size(), 80u);
      }
    }
  }
  EXPECT_EQ(gbkToUtf8(progressText(Language::chinese, 500, 1000, 4)),
            "[#####-----] 500/1000 张影像，125 张/秒，约剩 4 秒");
  EXPECT_EQ(gbkToUtf8(durationText(Language::chinese, 3700)), "1 小时 1 分");
}

// A clock the test moves, and what the bar drew.
struct Drawn {
  double now = 0;
  std::vector<std::string> draws;
  ProgressBar bar{Language::english, [this](const std::string& text) { draws.push_back(text); },
                  [this] { return now; }};
};

TEST(ProgressBar, DrawsAtMostTenTimesASecond) {
  Drawn drawn;
  // A thousand images in one second, one every millisecond.
  for (std::size_t done = 1; done <= 1000; ++done) {
    drawn.now = static_cast<double>(done) / 1000;
    drawn.bar.update(done, 100000);
  }
  EXPECT_GE(drawn.draws.size(), 9u);
  EXPECT_LE(drawn.draws.size(), 10u);
  for (const std::string& text : drawn.draws) {
    EXPECT_EQ(text.front(), '\r');
    EXPECT_EQ(text.find('\n'), std::string::npos);
  }
}

TEST(ProgressBar, ClearingBlanksTheLineAndAShorterLineCoversALongerOne) {
  Drawn drawn;
  drawn.bar.clear();  // nothing shown: nothing drawn
  EXPECT_TRUE(drawn.draws.empty());
  drawn.bar.update(1, 1000);
  drawn.now = 2;
  drawn.bar.update(5, 1000);  // with a rate and a time left
  drawn.now = 3;
  drawn.bar.update(1000, 1000);  // done: no time left, shorter
  ASSERT_EQ(drawn.draws.size(), 3u);
  EXPECT_EQ(drawn.draws[2].size(), drawn.draws[1].size());
  EXPECT_EQ(drawn.draws[2].back(), ' ');
  drawn.bar.clear();
  drawn.bar.clear();
  ASSERT_EQ(drawn.draws.size(), 4u);
  EXPECT_EQ(drawn.draws[3], "\r" + std::string(drawn.draws[1].size() - 1, ' ') + "\r");
}

}  // namespace
