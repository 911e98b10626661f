#include "common/messages.h"

#include <gtest/gtest.h>

#include <string>

#include "gbk_text.h"

namespace {

TEST(Messages, ChineseTextsAreTheIntendedGbkBytes) {
  const std::pair<const char*, const char*> texts[] = {
      {messages::kStartResolutionCheck, "开始检测影像分辨率..."},
      {messages::kStartCameraMakeCheck, "开始检测相机制造商..."},
      {messages::kStartFocalLengthCheck, "开始检测输入影像焦距..."},
      {messages::kStartGpsCheck, "开始检测输入影像是否含有gps..."},
      {messages::kAllClear, "\n检查影像的分辨率，相机制造商，焦距，含有GPS等指标均正常...\n"},
      {messages::kResolutionProgress, "检测分辨率的影像序列: "},
      {messages::kCameraMakeProgress, "检测相机制造商的影像序列: "},
      {messages::kFocalLengthProgress, "检测焦距的影像序列: "},
      {messages::kGpsProgress, "检测GPS信息的影像序列: "},
      {messages::kOffendingCount, "该类错误影像共："},
      {messages::kOffendingNumber, "错误影像序列: "},
      {messages::kOffendingName, "不相同的文件名为： "},
      {messages::kResolutionMismatch, "影像的分辨率不一致."},
      {messages::kCameraMakeMismatch, "影像的相机制造商不一致."},
      {messages::kFocalLengthZero, "影像的相机焦距为0."},
      {messages::kNoGps, "影像不含gps信息."},
      {messages::kNoImages, "没检测到影像数据."},
  };
  for (const auto& [gbk, intended] : texts) {
    EXPECT_EQ(gbkToUtf8(gbk), intended);
  }
}

}  // namespace
