#include "app/people_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "checks/checks.h"
#include "gbk_text.h"

namespace {

TEST(PeopleTexts, ChineseTextsAreTheIntendedGbkBytes) {
  const std::pair<const Bilingual&, const char*> texts[] = {
      {texts::kPassed, "通过"},
      {texts::kNotPassed, "未通过"},
      {texts::kImages, "{1} 张影像"},
      {texts::kOffendingOf, "{2} 张影像中 {1} 张有误"},
      {texts::kNotRun, "未运行（开关未打开）"},
      {texts::kGroups, "分组"},
      {texts::kReference, "基准："},
      {texts::kGroupSize, "，{1} 张"},
      {texts::kNextGroup, "；"},
      {texts::kComma, "，"},
      {texts::kExifNotReadable, "EXIF 无法读取"},
      {texts::kMoreGroups, "另有 {1} 组"},
      {texts::kOffending, "有误影像"},
      {texts::kMoreImagesIn, "另有 {1} 张，完整列表见 "},
      {texts::kMoreImagesNowhere, "另有 {1} 张（error.json 未能写入）"},
      {texts::kSummary, "汇总"},
      {texts::kNotReadable, "无法读取"},
      {texts::kFiles, "{1} 个文件"},
      {texts::kVerdict, "结论"},
      {texts::kPassedButNoCheck, "通过，但没有运行任何检查"},
      {texts::kNotPassedOffending, "未通过：有误影像"},
      {texts::kNotPassedNoImages, "未通过：输入文件夹下没有文件"},
      {texts::kExitCode, "（退出码 {1}）"},
      {texts::kReportNotNeeded, "未写入，因为全部通过"},
      {texts::kWrittenTo, "已写入 "},
      {texts::kNotWrittenTo, "无法写入 "},
      {texts::kNext, "下一步"},
      {texts::kLookAtOffending, "查看上面列出的影像；error.json 列出全部："},
      {texts::kCheckOutputFolder, "检查输出文件夹，error.json 未能写入："},
      {texts::kCheckInputFolder, "检查配置中的输入文件夹，其下没有文件："},
      {texts::kUnreadableOnStandardError, "无法读取的文件已在标准错误输出中列出"},
      {texts::kIgnoreNotImages, "不是影像的文件仍留在检查中；要排除它们："},
      {texts::kAskForTable, "每张影像一行的表格：precheck --table 文件.csv 任务配置"},
      {texts::kAskForPage, "带地图和每张影像的网页：precheck --report 文件.html 任务配置"},
      {texts::kSwitchAChecksOn, "所有检查开关都未打开：只有值恰好为 true 才会打开检查"},
      {texts::kLookAtSurvey, "查看航测检查的发现：precheck --survey FILE.json TASK.CFG 列出每一项"},
      {texts::kReadyForProcessing, "这批影像可以进入处理"},
      {texts::kImagesDone, "{1}/{2} 张影像"},
      {texts::kRate, "，{1} 张/秒"},
      {texts::kTimeLeft, "，约剩 {1}"},
      {texts::kSeconds, "{1} 秒"},
      {texts::kMinutes, "{1} 分 {2} 秒"},
      {texts::kHours, "{1} 小时 {2} 分"},
      {kChecks[0].title, "分辨率"},
      {kChecks[0].offence, "分辨率与基准不同"},
      {kChecks[1].title, "相机制造商"},
      {kChecks[1].offence, "相机制造商与基准不同"},
      {kChecks[2].title, "焦距"},
      {kChecks[2].offence, "焦距为 0"},
      {kChecks[3].title, "GPS 位置"},
      {kChecks[3].offence, "无可用位置"},
  };
  for (const auto& [text, intended] : texts) {
    EXPECT_EQ(gbkToUtf8(text.chinese), intended);
    // English reads whole on a terminal that shows ASCII only.
    for (const char* english : {text.english, text.englishForOne}) {
      if (english == nullptr) continue;
      for (const char* c = english; *c != '\0'; ++c) {
        EXPECT_LT(static_cast<unsigned char>(*c), 0x80) << english;
      }
    }
  }
}

TEST(PeopleTexts, FillPutsValuesInEachLanguagesOrder) {
  EXPECT_EQ(counted(texts::kOffendingOf, Language::english, 3, 10), "3 of 10 images offending");
  EXPECT_EQ(counted(texts::kOffendingOf, Language::english, 1, 1), "1 of 1 image offending");
  EXPECT_EQ(gbkToUtf8(counted(texts::kOffendingOf, Language::chinese, 3, 10)),
            "10 张影像中 3 张有误");
  EXPECT_EQ(counted(texts::kImages, Language::english, 1), "1 image");
  EXPECT_EQ(counted(texts::kImages, Language::english, 0), "0 images");
  // GBK 81 7B is one character whose second byte is "{": no slot starts inside it.
  EXPECT_EQ(fill("\x81{1}", {"x"}), "\x81{1}");
  EXPECT_EQ(fill("\x81{{1}", {"x"}), "\x81{x");
  EXPECT_EQ(fill("{1}{3}{2}", {"a", "b"}), "a{3}b");
}

}  // namespace
