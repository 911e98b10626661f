// The GPS directory, through whole blocks in both byte orders.
#include "exif/gps_tags.h"

#include <gtest/gtest.h>

#include <cmath>

#include "jpeg_builder.h"

namespace {

ExifMetadata parsedGps(const std::vector<TiffEntry>& entries, bool littleEndian) {
  ExifBlockSpec layout;
  layout.littleEndian = littleEndian;
  layout.gps = entries;
  const ExactBuffer block(buildExifBlock(layout));
  ExifMetadata metadata;
  EXPECT_EQ(metadata.parseExifBlock(block.data(), block.length()), ExifStatus::ok);
  return metadata;
}

TiffEntry ref(std::uint16_t tag, const char* letter) { return asciiEntry(tag, letter); }

TiffEntry coordinate(std::uint16_t tag, Fraction degrees, Fraction minutes, Fraction seconds) {
  return rationalEntry(tag, {degrees, minutes, seconds});
}

const TiffEntry kLatitude = coordinate(0x0002, {40, 1}, {30, 1}, {36, 1});   // 40.51
const TiffEntry kLongitude = coordinate(0x0004, {116, 1}, {15, 1}, {0, 1});  // 116.25
const TiffEntry kAltitude = rationalEntry(0x0006, {{100, 1}});
const TiffEntry kBelowSeaLevel = bytesEntry(0x0005, tiff::kByte, "\x01");

struct GpsCase {
  const char* name;
  std::vector<TiffEntry> entries;
  double latitude;
  double longitude;
  double altitude;
};

void expectEachCase(const std::vector<GpsCase>& cases) {
  for (bool little : {true, false}) {
    for (const GpsCase& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (little ? " (II)" : " (MM)"));
      GpsInfo gps = parsedGps(c.entries, little).gps;
      EXPECT_DOUBLE_EQ(gps.latitude, c.latitude);
      EXPECT_DOUBLE_EQ(gps.longitude, c.longitude);
      EXPECT_DOUBLE_EQ(gps.altitude, c.altitude);
      if (c.latitude == 0) {
        EXPECT_EQ(gps.latitudeParts.degrees, 0.0);  // an ignored entry sets no part either
      }
    }
  }
}

TEST(GpsTags, ReferencesSignTheValuesBeforeOrAfterThem) {
  const std::vector<GpsCase> cases = {
      {"north", {ref(1, "N"), kLatitude}, 40.51, 0, 0},
      {"south before", {ref(1, "S"), kLatitude}, -40.51, 0, 0},
      {"south after", {kLatitude, ref(1, "S")}, -40.51, 0, 0},
      {"south twice", {ref(1, "S"), kLatitude, ref(1, "S")}, 40.51, 0, 0},
      {"north after south", {ref(1, "S"), kLatitude, ref(1, "N")}, -40.51, 0, 0},
      {"west before", {ref(3, "W"), kLongitude}, 0, -116.25, 0},
      {"west after", {kLongitude, ref(3, "W")}, 0, -116.25, 0},
      {"east", {kLongitude, ref(3, "E")}, 0, 116.25, 0},
      {"lower-case s does not negate", {ref(1, "s"), kLatitude}, 40.51, 0, 0},
      {"W negates only the longitude", {ref(1, "W"), kLatitude, ref(3, "S"), kLongitude},
       40.51, 116.25, 0},
      {"below sea level before", {kBelowSeaLevel, kAltitude}, 0, 0, -100},
      {"below sea level after", {kAltitude, kBelowSeaLevel}, 0, 0, -100},
      {"altitude reference 2 leaves the sign",
       {bytesEntry(5, tiff::kByte, "\x02"), kAltitude}, 0, 0, 100},
      {"all together",
       {kLongitude, ref(3, "W"), kLatitude, ref(1, "S"), kBelowSeaLevel, kAltitude},
       -40.51, -116.25, -100},
  };
  expectEachCase(cases);
}

TEST(GpsTags, PartsAndReferencesAreKeptAsRead) {
  for (bool little : {true, false}) {
    const std::vector<TiffEntry> entries = {
        ref(1, "S"),  kLatitude, bytesEntry(3, tiff::kAscii, std::string(2, '\0')),
        kLongitude,   bytesEntry(5, tiff::kByte, "\x07"), rationalEntry(0x000B, {{25, 10}})};
    GpsInfo gps = parsedGps(entries, little).gps;
    EXPECT_EQ(gps.latitudeParts.direction, 'S');
    EXPECT_EQ(gps.latitudeParts.degrees, 40.0);
    EXPECT_EQ(gps.latitudeParts.minutes, 30.0);
    EXPECT_EQ(gps.latitudeParts.seconds, 36.0);
    EXPECT_EQ(gps.longitudeParts.direction, '?');  // a zero byte reads as unknown
    EXPECT_EQ(gps.longitudeParts.degrees, 116.0);
    EXPECT_EQ(gps.altitudeRef, 7);
    EXPECT_EQ(gps.dop, 2.5);
  }
}

TEST(GpsTags, DecimalDegreesAddMinutesToDegreesFirst) {
  // Summed as d + (m/60 + s/3600) this would end in ...113.
  GpsInfo gps = parsedGps({coordinate(2, {24, 1}, {31, 1}, {232, 100})}, true).gps;
  EXPECT_EQ(gps.latitude, 24.51731111111111);
}

TEST(GpsTags, CoordinatesNeedThreeRationalsInsideTheBlock) {
  const std::vector<GpsCase> cases = {
      {"two values", {withCount(kLatitude, 2)}, 0, 0, 0},
      {"four values", {withCount(kLatitude, 4)}, 0, 0, 0},
      {"as LONG", {withType(kLatitude, tiff::kLong)}, 0, 0, 0},
      {"as SRATIONAL", {withType(kLatitude, tiff::kSrational)}, 40.51, 0, 0},
      {"minutes over zero", {coordinate(2, {40, 1}, {30, 0}, {36, 1})}, 40.01, 0, 0},
      {"past the end", {withValueField(kLatitude, 0x8000)}, 0, 0, 0},
      {"offset wrapping past 2^32", {withValueField(kLongitude, 0xFFFFFFFA)}, 0, 0, 0},
      {"altitude of any count", {withCount(kAltitude, 0)}, 0, 0, 100},
      {"altitude as SRATIONAL", {withType(kAltitude, tiff::kSrational)}, 0, 0, 100},
      {"altitude as SHORT", {withType(kAltitude, tiff::kShort)}, 0, 0, 0},
      {"altitude past the end", {withValueField(kAltitude, 0xFFFFFFF0)}, 0, 0, 0},
  };
  expectEachCase(cases);
}

// A zero denominator reads as 0 but marks its angle as no measure; a later entry of
// the same tag takes the mark with its value.
TEST(GpsTags, ZeroDenominatorMarksItsAngleUndefined) {
  struct Case {
    const char* name;
    std::vector<TiffEntry> entries;
    bool latitudeUndefined;
    bool longitudeUndefined;
  };
  const Case cases[] = {
      {"all measured", {kLatitude, kLongitude}, false, false},
      {"degrees over zero", {coordinate(2, {40, 0}, {30, 1}, {36, 1}), kLongitude}, true, false},
      {"minutes over zero", {coordinate(2, {40, 1}, {30, 0}, {36, 1})}, true, false},
      {"seconds over zero", {kLatitude, coordinate(4, {116, 1}, {15, 1}, {0, 0})}, false, true},
      {"zero over zero", {coordinate(2, {0, 0}, {0, 0}, {0, 0})}, true, false},
      {"measured again later", {coordinate(2, {40, 0}, {30, 1}, {36, 1}), kLatitude}, false, false},
      {"altitude over zero is no coordinate", {rationalEntry(0x0006, {{100, 0}})}, false, false},
  };
  for (bool little : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (little ? " (II)" : " (MM)"));
      const GpsInfo gps = parsedGps(c.entries, little).gps;
      EXPECT_EQ(gps.latitudeParts.undefined, c.latitudeUndefined);
      EXPECT_EQ(gps.longitudeParts.undefined, c.longitudeUndefined);
    }
  }
}

TEST(GpsTags, RationalEndingAtTheBlockEndIsRead) {
  // The altitude is the block's last value; one byte less and it no longer fits.
  ExifBlockSpec layout;
  layout.gps = {kAltitude};
  const ExactBuffer block(buildExifBlock(layout));
  ExifMetadata whole;
  ASSERT_EQ(whole.parseExifBlock(block.data(), block.length()), ExifStatus::ok);
  EXPECT_EQ(whole.gps.altitude, 100.0);
  ExifMetadata cut;
  ASSERT_EQ(cut.parseExifBlock(block.data(), block.length() - 1), ExifStatus::ok);
  EXPECT_EQ(cut.gps.altitude, 0.0);
}

TEST(GpsTags, NegationFlipsZeroToNegativeZero) {
  GpsInfo gps = parsedGps({ref(1, "S")}, true).gps;
  EXPECT_TRUE(std::signbit(gps.latitude));
  EXPECT_EQ(gps.latitude, 0.0);
}

}  // namespace
