// The table and the map from records in memory: what a spreadsheet or a map viewer
// would make of hostile texts and of coordinates that are no measure.
#include "report/image_table.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/platform.h"
#include "record_list.h"

namespace {

TEST(ImageTable, TextThatASpreadsheetWouldRunIsMadeInert) {
  const std::pair<std::string, std::string> cases[] = {
      {"=HYPERLINK(\"http:x\").jpg", "'=HYPERLINK(\"http:x\").jpg"},
      {"+1.jpg", "'+1.jpg"},
      {"-1.jpg", "'-1.jpg"},
      {"@SUM(A1).jpg", "'@SUM(A1).jpg"},
      {"\tcell", "'\tcell"},
      {"\rcell", "'\rcell"},
      {"a=b.jpg", "a=b.jpg"},
      {"'quoted", "'quoted"},
      {" =spaced", " =spaced"},
      {"", ""},
  };
  for (const auto& [text, cell] : cases) EXPECT_EQ(inertTextCell(text), cell) << text;
}

ImageRecord locatedPhoto(const std::string& make, double latitude, double longitude) {
  ImageRecord record;
  record.status = ExifStatus::ok;
  record.kind = FileKind::jpeg;
  record.pixelWidth = 4000;
  record.pixelHeight = 3000;
  record.make.kept = make;
  record.make.length = make.size();
  record.focalLength = 8.8;
  record.latitude = latitude;
  record.longitude = longitude;
  record.altitude = -2.5;
  record.details = std::make_shared<const ImageDetails>(ImageDetails{"-model", "@time", {}});
  return record;
}

std::string rowOf(const std::string& table, std::size_t row) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < row; ++i) at = table.find("\r\n", at) + 2;
  return table.substr(at, table.find("\r\n", at) - at);
}

// Every text cell, ours or the file's, is guarded; numbers, negative ones included,
// stay numbers.
TEST(ImageTable, TextCellsAreGuardedAndNumbersStayNumbers) {
  RecordList images;
  images.add(platform::joinPath("in", "=cmd.jpg"), locatedPhoto("+DJI", -33.5, -151.25));
  const std::string table = imageTableText(images, "in", CheckOutcomes{}, SurveyOfRun{});
  EXPECT_EQ(rowOf(table, 1),
            "'=cmd.jpg,ok,,4000,3000,'+DJI,'-model,'@time,8.8,,-33.5,-151.25,-2.5,,,,,,,,");
}

// A coordinate with a zero denominator reads as 0 for the checks, but is no position
// to show or draw: the table says why, the map leaves the image out.
TEST(ImageTable, CoordinateOverZeroIsNoPosition) {
  RecordList images;
  ImageRecord undefined = locatedPhoto("DJI", 0.0, 114.25);
  undefined.positionUndefined = true;
  images.add(platform::joinPath("in", "a.jpg"), undefined);
  images.add(platform::joinPath("in", "b.jpg"), locatedPhoto("DJI", 30.5, 114.25));
  ImageRecord notParsed = undefined;
  notParsed.status = ExifStatus::corrupt;
  images.add(platform::joinPath("in", "c.jpg"), notParsed);
  const std::string table = imageTableText(images, "in", CheckOutcomes{}, SurveyOfRun{});
  EXPECT_EQ(rowOf(table, 1),
            "a.jpg,ok,no position: a coordinate has a zero denominator,4000,3000,DJI,'-model,"
            "'@time,8.8,,,,,,,,,,,,");
  EXPECT_EQ(rowOf(table, 2), "b.jpg,ok,,4000,3000,DJI,'-model,'@time,8.8,,30.5,114.25,-2.5,,,,,,,,");
  EXPECT_EQ(rowOf(table, 3), "c.jpg,not parsed,EXIF block damaged,,,,,,,,,,,,,,,,,,");
  const std::string map = imageMapText(images, "in", CheckOutcomes{}, SurveyOfRun{});
  EXPECT_EQ(map.find("a.jpg"), std::string::npos) << map;
  EXPECT_NE(map.find("\"file\":\"b.jpg\""), std::string::npos) << map;
}

}  // namespace
