#include "report/error_report.h"

#include <gtest/gtest.h>

#include "common/messages.h"
#include "platform_conventions.h"
#include "recording_console.h"
#include "temp_folder.h"

namespace {

const std::string kResolution = messages::kResolutionMismatch;
const std::string kMake = messages::kCameraMakeMismatch;
const std::string kFocal = messages::kFocalLengthZero;
const std::string kGps = messages::kNoGps;

TEST(ErrorReportText, OneEntryPerRaisedFlagInCodeOrder) {
  CheckResults results;
  results.resolutionImages = {"r.jpg"};
  results.cameraMakeImages = {"m.jpg", "m.jpg"};
  results.focalLengthImages = {"f.jpg"};
  results.gpsImages = {"b.jpg", "c.jpg"};

  CheckFlags onlyGps;
  onlyGps.gps = true;
  EXPECT_EQ(errorReportText(results, onlyGps).json,
            "{\"errors\":[{\"errcode\":104,\"error_des\":\"" + kGps +
                "\",\"images\":[\"b.jpg\",\"c.jpg\"]}]}");

  CheckFlags all{true, true, true, true};
  EXPECT_EQ(errorReportText(results, all).json,
            "{\"errors\":["
            "{\"errcode\":101,\"error_des\":\"" + kResolution + "\",\"images\":[\"r.jpg\"]},"
            "{\"errcode\":102,\"error_des\":\"" + kMake + "\",\"images\":[\"m.jpg\",\"m.jpg\"]},"
            "{\"errcode\":103,\"error_des\":\"" + kFocal + "\",\"images\":[\"f.jpg\"]},"
            "{\"errcode\":104,\"error_des\":\"" + kGps + "\",\"images\":[\"b.jpg\",\"c.jpg\"]}]}");
}

TEST(ErrorReportText, FlagAloneDecidesWhetherAnEntryIsWritten) {
  CheckResults results;
  results.gpsImages = {"listed-but-not-flagged.jpg"};
  CheckFlags flags;
  flags.focalLength = true;
  EXPECT_EQ(errorReportText(results, flags).json,
            "{\"errors\":[{\"errcode\":103,\"error_des\":\"" + kFocal + "\",\"images\":[]}]}");
}

TEST(ErrorReportText, NamesAreEscapedBytewise) {
  CheckResults results;
  results.resolutionImages = {"q\"b\\s/x.jpg", std::string("\x08\x09\x0a\x0c\x0d\x01\x1f\x7f"),
                              "\xd3\xb0\x5c\xcf\xf1.jpg"};
  CheckFlags flags;
  flags.resolution = true;
  EXPECT_EQ(errorReportText(results, flags).json,
            "{\"errors\":[{\"errcode\":101,\"error_des\":\"" + kResolution +
                "\",\"images\":[\"q\\\"b\\\\s/x.jpg\",\"\\b\\t\\n\\f\\r\\u0001\\u001F\x7f\","
                "\"\xd3\xb0\\\\\xcf\xf1.jpg\"]}]}");
}

// Where a console for people shows bytes from outside: exactly the escaped names.
TEST(ErrorReportText, NamesAreLocatedInTheText) {
  CheckResults results;
  results.cameraMakeImages = {"a.jpg", "q\"b.jpg"};
  results.gpsImages = {"", "\x1b[2J.jpg"};
  const CheckFlags flags{false, true, false, true};
  const ReportText report = errorReportText(results, flags);
  std::vector<std::string> names;
  for (const auto& [offset, length] : report.names) names.push_back(report.json.substr(offset, length));
  EXPECT_EQ(names, (std::vector<std::string>{"a.jpg", "q\\\"b.jpg", "", "\\u001B[2J.jpg"}));
  EXPECT_TRUE(noImagesReportText().names.empty());
}

TEST(NoImagesReportText, HasNoImagesMember) {
  EXPECT_EQ(noImagesReportText().json, "{\"errors\":[{\"errcode\":105,\"error_des\":\"" +
                                      std::string(messages::kNoImages) + "\"}]}");
}

std::string publish(const std::string& text, const std::string& folder) {
  RecordingConsole console;
  publishReport(ReportText{text, {}}, folder, console);
  return console.text;
}

TEST(PublishReport, EchoesAndReplacesAnEarlierReport) {
  TempFolder out;
  out.writeFile("error.json", "an earlier, much longer report that must be replaced whole");
  EXPECT_EQ(publish("{\"new\":1}", out.path().string()), "{\"new\":1}\n");
  EXPECT_EQ(readFileBytes(out.at("error.json")), "{\"new\":1}");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()),
                          std::filesystem::directory_iterator()),
            1);  // no temporary file left behind
}

TEST(PublishReport, UnwritableFolderIsSaidInOneLine) {
  TempFolder root;
  root.writeFile("taken", "a file where the output folder should be");
  const std::string folder = root.at("taken");
  EXPECT_EQ(publish("{}", folder),
            "{}\n" + std::string(messages::kReportNotWritten) + folder + kPathSeparator +
                "error.json\n");
}

}  // namespace
