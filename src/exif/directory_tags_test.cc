// The IFD0 and EXIF sub-IFD tables, through whole blocks in both byte orders.
#include "exif/directory_tags.h"

#include <gtest/gtest.h>

#include <functional>

#include "jpeg_builder.h"

namespace {

ExifMetadata parsed(const ExifBlockSpec& layout) {
  const ExactBuffer block(buildExifBlock(layout));
  ExifMetadata metadata;
  EXPECT_EQ(metadata.parseExifBlock(block.data(), block.length()), ExifStatus::ok);
  return metadata;
}

TEST(DirectoryTags, EveryListedTagFillsItsField) {
  ExifBlockSpec layout;
  layout.ifd0 = {
      shortEntry(0x0102, {8, 8, 8}),
      asciiEntry(0x010E, "Coast, north"),
      asciiEntry(0x010F, "Canon"),
      asciiEntry(0x0110, "EOS"),
      shortEntry(0x0112, {6}),
      asciiEntry(0x0131, "Firmware 1.0.2"),
      asciiEntry(0x0132, "2024:05:06 07:08:09"),
      asciiEntry(0x8298, "(c) Survey Ltd"),
  };
  layout.exif = {
      rationalEntry(0x829A, {{1, 250}}),
      rationalEntry(0x829D, {{28, 10}}),
      shortEntry(0x8822, {2}),
      shortEntry(0x8827, {400}),
      asciiEntry(0x9003, "2024:05:06 07:08:10"),
      asciiEntry(0x9004, "2024:05:06 07:08:11"),
      rationalEntry(0x9201, {{7965784, 1000000}}),
      rationalEntry(0x9204, {{1, 3}}),
      rationalEntry(0x9206, {{1550, 100}}),
      shortEntry(0x9207, {5}),
      shortEntry(0x9209, {0x19}),
      rationalEntry(0x920A, {{88, 10}}),
      asciiEntry(0x9291, "42"),
      longEntry(0xA002, {5472}),
      shortEntry(0xA003, {3648}),
      rationalEntry(0xA20E, {{5472000, 233}}),
      rationalEntry(0xA20F, {{3648000, 155}}),
      shortEntry(0xA210, {3}),
      shortEntry(0xA405, {24}),
      rationalEntry(0xA432, {{24, 1}, {70, 1}, {28, 10}, {40, 10}}),
      asciiEntry(0xA433, "LensCo"),
      asciiEntry(0xA434, "Zoom 24-70mm"),
  };
  for (bool little : {true, false}) {
    SCOPED_TRACE(little ? "II" : "MM");
    layout.littleEndian = little;
    ExifMetadata m = parsed(layout);
    EXPECT_EQ(m.littleEndian, little);
    EXPECT_EQ(m.bitsPerSample, 8);
    EXPECT_EQ(m.imageDescription, "Coast, north");
    EXPECT_EQ(m.make, "Canon");
    EXPECT_EQ(m.model, "EOS");
    EXPECT_EQ(m.orientation, 6);
    EXPECT_EQ(m.software, "Firmware 1.0.2");
    EXPECT_EQ(m.dateTime, "2024:05:06 07:08:09");
    EXPECT_EQ(m.rightsNotice, "(c) Survey Ltd");
    EXPECT_EQ(m.exposureTime, 1.0 / 250);
    EXPECT_EQ(m.fNumber, 2.8);
    EXPECT_EQ(m.exposureProgram, 2);
    EXPECT_EQ(m.isoSpeed, 400);
    EXPECT_EQ(m.dateTimeOriginal, "2024:05:06 07:08:10");
    EXPECT_EQ(m.dateTimeDigitized, "2024:05:06 07:08:11");
    EXPECT_EQ(m.shutterSpeedValue, 7.965784);
    EXPECT_EQ(m.exposureBiasValue, 1.0 / 3);
    EXPECT_EQ(m.subjectDistance, 15.5);
    EXPECT_EQ(m.meteringMode, 5);
    EXPECT_TRUE(m.flashFired);  // 0x19: fired, no return detection, auto mode
    EXPECT_EQ(m.flashReturnLight, 0);
    EXPECT_EQ(m.flashMode, 3);
    EXPECT_EQ(m.focalLength, 8.8);
    EXPECT_EQ(m.subSecTimeOriginal, "42");
    EXPECT_EQ(m.pixelWidth, 5472u);
    EXPECT_EQ(m.pixelHeight, 3648u);
    EXPECT_EQ(m.lens.focalPlaneXResolution, 5472000.0 / 233);
    EXPECT_EQ(m.lens.focalPlaneYResolution, 3648000.0 / 155);
    EXPECT_EQ(m.lens.focalPlaneResolutionUnit, 3);
    EXPECT_EQ(m.focalLength35mm, 24);
    EXPECT_EQ(m.lens.shortestFocalLength, 24.0);
    EXPECT_EQ(m.lens.longestFocalLength, 70.0);
    EXPECT_EQ(m.lens.fNumberAtShortest, 2.8);
    EXPECT_EQ(m.lens.fNumberAtLongest, 4.0);
    EXPECT_EQ(m.lens.lensMake, "LensCo");
    EXPECT_EQ(m.lens.lensModel, "Zoom 24-70mm");
  }
}

TEST(DirectoryTags, EachDirectoryReadsOnlyItsOwnTable) {
  ExifBlockSpec layout;
  layout.ifd0 = {rationalEntry(0x920A, {{50, 1}}), longEntry(0xA002, {4000})};
  layout.exif = {asciiEntry(0x010F, "Canon"), shortEntry(0x0112, {3})};
  ExifMetadata m = parsed(layout);
  EXPECT_EQ(m.focalLength, 0.0);
  EXPECT_EQ(m.pixelWidth, 0u);
  EXPECT_EQ(m.make, "");
  EXPECT_EQ(m.orientation, 0);
}

struct Unusable {
  const char* name;
  Directory directory;
  TiffEntry entry;
  std::function<double(const ExifMetadata&)> field;  // numbers; texts via their size
};

TEST(DirectoryTags, WrongTypesAndMissingValuesLeaveTheFieldAlone) {
  TiffEntry makePastTheEnd = asciiEntry(0x010F, "Canon");
  makePastTheEnd.valueField = 0x10000;
  const Unusable cases[] = {
      {"make as UNDEFINED", Directory::ifd0, bytesEntry(0x010F, tiff::kUndefined, "Canon"),
       [](const ExifMetadata& m) { return double(m.make.size()); }},
      {"make past the end", Directory::ifd0, makePastTheEnd,
       [](const ExifMetadata& m) { return double(m.make.size()); }},
      {"orientation as LONG", Directory::ifd0, longEntry(0x0112, {6}),
       [](const ExifMetadata& m) { return double(m.orientation); }},
      {"bits per sample without values", Directory::ifd0, shortEntry(0x0102, {}),
       [](const ExifMetadata& m) { return double(m.bitsPerSample); }},
      {"focal length as SRATIONAL", Directory::exif,
       withType(rationalEntry(0x920A, {{50, 1}}), tiff::kSrational),
       [](const ExifMetadata& m) { return m.focalLength; }},
      {"shutter speed as SRATIONAL", Directory::exif,
       withType(rationalEntry(0x9201, {{6, 1}}), tiff::kSrational),
       [](const ExifMetadata& m) { return m.shutterSpeedValue; }},
      {"exposure bias as SRATIONAL", Directory::exif,
       withType(rationalEntry(0x9204, {{1, 3}}), tiff::kSrational),
       [](const ExifMetadata& m) { return m.exposureBiasValue; }},
      {"focal plane resolution with count 0", Directory::exif,
       withCount(rationalEntry(0xA20E, {{4000, 1}}), 0),
       [](const ExifMetadata& m) { return m.lens.focalPlaneXResolution; }},
      {"pixel width as LONG without values", Directory::exif, longEntry(0xA002, {}),
       [](const ExifMetadata& m) { return double(m.pixelWidth); }},
      {"pixel width as BYTE", Directory::exif, bytesEntry(0xA002, tiff::kByte, "\x10"),
       [](const ExifMetadata& m) { return double(m.pixelWidth); }},
      {"35 mm focal length as LONG", Directory::exif, longEntry(0xA405, {24}),
       [](const ExifMetadata& m) { return double(m.focalLength35mm); }},
      {"flash as RATIONAL", Directory::exif, rationalEntry(0x9209, {{1, 1}}),
       [](const ExifMetadata& m) { return double(m.flashFired); }},
      {"date as SHORT", Directory::exif, shortEntry(0x9003, {2024}),
       [](const ExifMetadata& m) { return double(m.dateTimeOriginal.size()); }},
  };
  for (bool little : {true, false}) {
    for (const Unusable& c : cases) {
      ExifBlockSpec layout;
      layout.littleEndian = little;
      (c.directory == Directory::ifd0 ? layout.ifd0 : layout.exif).push_back(c.entry);
      layout.exif.push_back(shortEntry(0xA405 + 1, {0}));  // keeps the sub-IFD present
      EXPECT_EQ(c.field(parsed(layout)), 0.0) << c.name << (little ? " (II)" : " (MM)");
    }
  }
}

TEST(DirectoryTags, PixelDimensionsAsLongOrShortAndTheLastUsableEntryWins) {
  ExifBlockSpec layout;
  layout.exif = {shortEntry(0xA002, {4000}), longEntry(0xA003, {6000})};
  for (bool little : {true, false}) {
    layout.littleEndian = little;
    ExifMetadata m = parsed(layout);
    EXPECT_EQ(m.pixelWidth, 4000u);
    EXPECT_EQ(m.pixelHeight, 6000u);
  }
  // A later entry without a value does not undo an earlier one; a later value replaces it.
  layout.exif = {shortEntry(0xA002, {4000}), longEntry(0xA002, {}), longEntry(0xA003, {1}),
               shortEntry(0xA003, {65535})};
  layout.ifd0 = {asciiEntry(0x010F, "first"), asciiEntry(0x010F, "second")};
  ExifMetadata m = parsed(layout);
  EXPECT_EQ(m.pixelWidth, 4000u);
  EXPECT_EQ(m.pixelHeight, 65535u);
  EXPECT_EQ(m.make, "second");
}

TEST(DirectoryTags, FlashBitsSplitIntoThreeFields) {
  struct FlashCase {
    std::uint16_t value;
    bool fired;
    std::uint16_t returnLight;
    std::uint16_t mode;
  };
  const FlashCase cases[] = {
      {0x00, false, 0, 0}, {0x01, true, 0, 0}, {0x07, true, 3, 0},
      {0x10, false, 0, 2}, {0x19, true, 0, 3}, {0xFFFF, true, 3, 3},
  };
  for (const FlashCase& c : cases) {
    ExifBlockSpec layout;
    layout.exif = {shortEntry(0x9209, {c.value})};
    ExifMetadata m = parsed(layout);
    EXPECT_EQ(m.flashFired, c.fired) << c.value;
    EXPECT_EQ(m.flashReturnLight, c.returnLight) << c.value;
    EXPECT_EQ(m.flashMode, c.mode) << c.value;
  }
}

TEST(DirectoryTags, LensSpecificationFillsAsManyValuesAsItHas) {
  const std::vector<Fraction> values = {{24, 1}, {70, 1}, {28, 10}, {4, 1}, {99, 1}};
  for (std::size_t k = 0; k <= values.size(); ++k) {
    ExifBlockSpec layout;
    layout.littleEndian = k % 2 == 0;
    layout.exif = {rationalEntry(0xA432, {values.begin(), values.begin() + long(k)})};
    const LensData lens = parsed(layout).lens;
    EXPECT_EQ(lens.shortestFocalLength, k >= 1 ? 24.0 : 0.0) << k;
    EXPECT_EQ(lens.longestFocalLength, k >= 2 ? 70.0 : 0.0) << k;
    EXPECT_EQ(lens.fNumberAtShortest, k >= 3 ? 2.8 : 0.0) << k;
    EXPECT_EQ(lens.fNumberAtLongest, k >= 4 ? 4.0 : 0.0) << k;
  }
}

TEST(DirectoryTags, ZeroDenominatorReadsAsZero) {
  ExifBlockSpec layout;
  layout.exif = {rationalEntry(0x920A, {{35, 0}}), rationalEntry(0x829D, {{0, 0}})};
  ExifMetadata m = parsed(layout);
  EXPECT_EQ(m.focalLength, 0.0);
  EXPECT_EQ(m.fNumber, 0.0);
}

}  // namespace
