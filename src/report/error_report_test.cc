#include "report/error_report.h"

#include <gtest/gtest.h>

#include "common/messages.h"
#include "platform_conventions.h"
#include "record_list.h"
#include "recording_console.h"
#include "temp_folder.h"

namespace {

const std::string kResolution = messages::kResolutionMismatch;
const std::string kMake = messages::kCameraMakeMismatch;
const std::string kFocal = messages::kFocalLengthZero;
const std::string kGps = messages::kNoGps;

// Images in folders, so that the report shows only the file names; the checks name
// them by index.
struct Named {
  RecordList images;
  CheckOutcomes outcomes;

  explicit Named(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) images.add(path, ImageRecord{});
  }
  // The check of table row `row` named these images.
  Named& by(std::size_t row, Offending offending) {
    outcomes.byCheck[row] = std::move(offending);
    return *this;
  }
  std::string json() { return errorReportText(outcomes, images).json; }
};

constexpr std::size_t kResolutionRow = 0, kMakeRow = 1, kFocalRow = 2, kGpsRow = 3;

TEST(ErrorReportText, OneEntryPerCheckThatNamedImagesInTableOrder) {
  const std::vector<std::string> paths{"d/r.jpg", "d/m.jpg", "e/m.jpg", "d/f.jpg", "d/b.jpg",
                                       "d/c.jpg"};
  EXPECT_EQ(Named(paths).by(kGpsRow, {4, 5}).json(),
            "{\"errors\":[{\"errcode\":104,\"error_des\":\"" + kGps +
                "\",\"images\":[\"b.jpg\",\"c.jpg\"]}]}");
  // Given in reverse, written in table order; names in the order the check named them.
  EXPECT_EQ(Named(paths)
                .by(kGpsRow, {5, 4})
                .by(kFocalRow, {3})
                .by(kMakeRow, {1, 2})
                .by(kResolutionRow, {0})
                .json(),
            "{\"errors\":["
            "{\"errcode\":101,\"error_des\":\"" + kResolution + "\",\"images\":[\"r.jpg\"]},"
            "{\"errcode\":102,\"error_des\":\"" + kMake + "\",\"images\":[\"m.jpg\",\"m.jpg\"]},"
            "{\"errcode\":103,\"error_des\":\"" + kFocal + "\",\"images\":[\"f.jpg\"]},"
            "{\"errcode\":104,\"error_des\":\"" + kGps + "\",\"images\":[\"c.jpg\",\"b.jpg\"]}]}");
}

// A check that ran and named nothing has no entry, like one that did not run.
TEST(ErrorReportText, ChecksThatNamedNothingHaveNoEntry) {
  EXPECT_EQ(Named({"d/f.jpg"}).by(kResolutionRow, {}).by(kFocalRow, {0}).json(),
            "{\"errors\":[{\"errcode\":103,\"error_des\":\"" + kFocal +
                "\",\"images\":[\"f.jpg\"]}]}");
}

TEST(ErrorReportText, NamesAreEscapedBytewise) {
  EXPECT_EQ(Named({"d/q\"b\\s/x.jpg", "d/" + std::string("\x08\x09\x0a\x0c\x0d\x01\x1f\x7f"),
                   "d/\xd3\xb0\x5c\xcf\xf1.jpg"})
                .by(kResolutionRow, {0, 1, 2})
                .json(),
            "{\"errors\":[{\"errcode\":101,\"error_des\":\"" + kResolution +
                "\",\"images\":[\"x.jpg\",\"\\b\\t\\n\\f\\r\\u0001\\u001F\x7f\","
                "\"\xcf\xf1.jpg\"]}]}");
}

// Where a console for people shows bytes from outside: exactly the escaped names.
TEST(ErrorReportText, NamesAreLocatedInTheText) {
  Named named({"d/a.jpg", "d/q\"b.jpg", "d/", "d/\x1b[2J.jpg"});
  named.by(kMakeRow, {0, 1}).by(kGpsRow, {2, 3});
  const ReportText report = errorReportText(named.outcomes, named.images);
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
