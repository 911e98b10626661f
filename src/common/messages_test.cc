#include "common/messages.h"

#include <iconv.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// Decodes GBK bytes into UTF-8, so that each text can be compared with the text as
// it is meant to read. Returns "<undecodable>" for bytes that are not GBK.
std::string gbkToUtf8(const std::string& gbk) {
  iconv_t converter = iconv_open("UTF-8", "GBK");
  if (converter == reinterpret_cast<iconv_t>(-1)) return "<no GBK converter>";
  std::string in = gbk;
  std::string out(in.size() * 4 + 4, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  std::size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return "<undecodable>";
  out.resize(out.size() - outLeft);
  return out;
}

TEST(Messages, ChineseTextsAreTheIntendedGbkBytes) {
  const std::pair<const char*, const char*> texts[] = {
      {messages::kStartResolutionCheck, "开始检测影像分辨率..."},
      {messages::kStartCameraMakeCheck, "开始检测相机制造商..."},
      {messages::kStartFocalLengthCheck, "开始检测输入影像焦距..."},
      {messages::kStartGpsCheck, "开始检测输入影像是否含有gps..."},
      {messages::kAllClear, "\n检查影像的分辨率，相机制造商，焦距，含有GPS等指标均正常...\n"},
  };
  for (const auto& [gbk, intended] : texts) {
    EXPECT_EQ(gbkToUtf8(gbk), intended);
  }
}

}  // namespace
