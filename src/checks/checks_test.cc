// The checks as functions of image records: what each one names, from tables of
// records, without files.
#include "checks/checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "record_list.h"
#include "recording_console.h"

namespace {

ImageRecord located(double latitude, double longitude, double altitude) {
  ImageRecord record;
  record.status = ExifStatus::ok;
  record.latitude = latitude;
  record.longitude = longitude;
  record.altitude = altitude;
  return record;
}

const Check& checkNamed(const std::string& name) {
  for (const Check& check : kChecks) {
    if (check.name == name) return check;
  }
  ADD_FAILURE() << "no check " << name;
  return kChecks[0];
}

// Whether `check` names the one image `record`.
bool named(const Check& check, const ImageRecord& record) {
  RecordList images;
  images.add("d/a.jpg", record);
  RecordingConsole console;
  return !runCheck(check, images, console).empty();
}

TEST(GpsCheck, UsablePositionAtTheEdgesOfTheRanges) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double latitude, longitude, altitude;
    bool reported;
  };
  const Case cases[] = {
      {0.0, 0.0, 0.0, true},  // no fix
      {-0.0, -0.0, 0.0, true},
      {0.0, 0.0, -0.0, true},
      // The ends of each range are inside it: with the other coordinate out of range
      // and an altitude given, only that decides.
      {90.0, 300.0, 50.0, false},
      {-90.0, 300.0, 50.0, false},
      {100.0, 180.0, 50.0, false},
      {100.0, -180.0, 50.0, false},
      {90.0000001, 300.0, 50.0, true},
      {-90.0000001, 300.0, 50.0, true},
      {100.0, 180.0000001, 50.0, true},
      {100.0, -180.0000001, -5.0, true},
      {100.0, 300.0, 0.0, false},  // both out of range, altitude exactly 0
      {200.0, 300.0, 50.0, true},
      {45.0, 300.0, 50.0, false},
      {0.0, 0.0, 152.3, false},  // an altitude alone counts
      {inf, inf, 1.0, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(named(checkNamed("GPS"), located(c.latitude, c.longitude, c.altitude)), c.reported)
        << c.latitude << " " << c.longitude << " " << c.altitude;
  }
}

TEST(FocalLengthCheck, ZeroOrMissingFocalLengthIsNamed) {
  struct Case {
    double focalLength;
    std::uint16_t focalLength35mm;
    bool reported;
  };
  const Case cases[] = {
      {0.0, 0, true},   {0.99, 0, true},          {1.0, 0, false},
      {0.0, 28, false}, {4294967295.0, 0, false},  // a damaged rational, not zero
  };
  for (const Case& c : cases) {
    ImageRecord record;
    record.status = ExifStatus::ok;
    record.focalLength = c.focalLength;
    record.focalLength35mm = c.focalLength35mm;
    EXPECT_EQ(named(checkNamed("focal length"), record), c.reported) << c.focalLength;
  }
}

// Every check names an image whose EXIF block cannot be read, and none names an image
// that could not be read at all.
TEST(Checks, UnparsedImagesAreNamedAndUnreadOnesAreNot) {
  ImageRecord unparsed;
  unparsed.status = ExifStatus::noExif;
  ImageRecord unread;
  unread.skipped = SkipReason::empty;
  for (const Check& check : kChecks) {
    EXPECT_TRUE(named(check, unparsed));
    EXPECT_FALSE(named(check, unread));
  }
}

// The keys: groups are keyed as the pipeline has always keyed them.
TEST(Checks, GroupsAreKeyedAsTheTranscriptShowsThem) {
  RecordList images;
  ImageRecord record;
  record.status = ExifStatus::ok;
  record.pixelWidth = 0x80000000;  // written signed
  record.pixelHeight = 3000;
  record.make = CameraMake{"DJI", 3, {}, 0};
  record.focalLength = 8.8;
  images.add("d/a.jpg", record);
  struct Case {
    const char* check;
    const char* key;
  };
  const Case cases[] = {
      {"resolution", "-2147483648*3000"},
      {"camera make", "DJI"},
      {"focal length", "8"},
  };
  for (const Case& c : cases) {
    RecordingConsole console;
    runCheck(checkNamed(c.check), images, console);
    EXPECT_NE(console.text.find("\n" + std::string(c.key) + "\n1\n\n"), std::string::npos)
        << console.text;
  }
}

}  // namespace
