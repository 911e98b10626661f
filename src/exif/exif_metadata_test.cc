#include "exif/exif_metadata.h"

#include <gtest/gtest.h>

#include <tuple>

#include "exif_fields.h"
#include "jpeg_builder.h"

namespace {

ExifStatus parseFile(const std::string& file, ExifMetadata& metadata) {
  const ExactBuffer buffer(file);
  return metadata.parseJpeg(buffer.data(), buffer.length());
}

ExifStatus parseBlock(const std::string& block, ExifMetadata& metadata) {
  const ExactBuffer buffer(block);
  return metadata.parseExifBlock(buffer.data(), buffer.length());
}

// A block whose IFD0 holds a make, so that a parse that got through shows it.
ExifBlockSpec canonBlock(bool littleEndian = true) {
  ExifBlockSpec layout;
  layout.littleEndian = littleEndian;
  layout.ifd0 = {asciiEntry(0x010F, "Canon")};
  return layout;
}

JpegSpec canonJpeg() {
  JpegSpec jpeg;
  jpeg.app1 = buildExifBlock(canonBlock());
  return jpeg;
}

std::string withBytes(std::string bytes, std::size_t at, const std::string& replacement) {
  return bytes.replace(at, replacement.size(), replacement);
}

TEST(ExifMetadata, ConstructionAndResetGiveTheResetValues) {
  ExifMetadata metadata;
  EXPECT_EQ(metadata.gps.latitudeParts.direction, '?');
  EXPECT_EQ(metadata.gps.longitudeParts.direction, '?');
  metadata.make = "x";
  metadata.pixelWidth = 4000;
  metadata.gps.latitude = 1.0;
  metadata.gps.latitudeParts.direction = 'N';
  metadata.lens.lensModel = "y";
  metadata.reset();
  EXPECT_EQ(metadata.make, "");
  EXPECT_EQ(metadata.pixelWidth, 0u);
  EXPECT_EQ(metadata.gps.latitude, 0.0);
  EXPECT_EQ(metadata.gps.latitudeParts.direction, '?');
  EXPECT_EQ(metadata.lens.lensModel, "");
}

TEST(ParseJpeg, FrameFailuresLeaveTheRecordUntouched) {
  const std::string good = buildJpeg(canonJpeg());
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"three bytes", "\xFF\xD8\xFF"},
      {"no start marker", withBytes(good, 0, "\xFF\xD9")},
      {"start marker the other way", withBytes(good, 0, "\xD8\xFF")},
      {"no end marker", good.substr(0, good.size() - 2)},
      {"four bytes without end marker", std::string("\xFF\xD8\xD9\x00", 4)},
  };
  for (const auto& [name, file] : cases) {
    ExifMetadata metadata;
    metadata.make = "kept";
    EXPECT_EQ(parseFile(file, metadata), ExifStatus::notJpeg) << name;
    EXPECT_EQ(metadata.make, "kept") << name;
  }
  ExifMetadata metadata;
  EXPECT_EQ(metadata.parseJpeg(nullptr, 100), ExifStatus::notJpeg);
}

TEST(ParseJpeg, ReadsTheExifBlockOfTheFirstApp1) {
  JpegSpec jpeg = canonJpeg();
  jpeg.before = {jfifSegment(), jpegSegment(0xE2, "ICC_PROFILE")};
  jpeg.after = {jpegSegment(0xE1, "http://ns.adobe.com/xap/1.0/")};
  ExifMetadata metadata;
  EXPECT_EQ(parseFile(buildJpeg(jpeg), metadata), ExifStatus::ok);
  EXPECT_EQ(metadata.make, "Canon");
  EXPECT_TRUE(metadata.littleEndian);
}

TEST(ParseJpeg, BytesAfterTheLastEndMarkerAreIgnored) {
  PhotoSpec photo;
  photo.make = "DJI";
  photo.pixelWidth = 4000;
  photo.gps = GpsSpec{-33.5, 151.25, 80.0};
  JpegSpec jpeg = photoJpeg(photo);
  ExifMetadata clean;
  ASSERT_EQ(parseFile(buildJpeg(jpeg), clean), ExifStatus::ok);
  jpeg.trailing = std::string("\xFF\xE1\x00\x02 garbage \xFF\xD8", 15);
  ExifMetadata withTrailing;
  EXPECT_EQ(parseFile(buildJpeg(jpeg), withTrailing), ExifStatus::ok);
  EXPECT_TRUE(allFields(withTrailing) == allFields(clean));
}

TEST(ParseJpeg, FailuresAfterTheFrameChecksResetTheRecord) {
  JpegSpec noApp1 = canonJpeg();
  noApp1.app1.reset();
  // A maker's own first APP1: long enough to pass the length check, then not EXIF.
  JpegSpec notExifFirst = canonJpeg();
  notExifFirst.before = {jpegSegment(0xE1, std::string("QVCI\0\0\0\0\0\0\0\0\0\0", 14))};
  // The length check comes before the header check.
  JpegSpec shortNotExifFirst = canonJpeg();
  shortNotExifFirst.before = {jpegSegment(0xE1, std::string("QVCI\0\0\0\0\0\0\0\0", 12))};
  JpegSpec pairInsideApp2 = canonJpeg();
  pairInsideApp2.before = {jpegSegment(0xE2, std::string("\xFF\xE1\x00\x20NotExif", 11))};
  JpegSpec tooShort = canonJpeg();
  tooShort.app1Length = 15;
  JpegSpec shortestAllowed = canonJpeg();
  shortestAllowed.app1Length = 16;  // only checked, the block still runs to the end
  JpegSpec pastTheEnd = canonJpeg();
  pastTheEnd.bodyBytes = 0;
  // The segment starts at 2; its length may reach the end of the file but not beyond.
  const std::uint16_t toTheEnd = static_cast<std::uint16_t>(buildJpeg(pastTheEnd).size() - 4);
  pastTheEnd.app1Length = static_cast<std::uint16_t>(toTheEnd + 1);
  JpegSpec reachingTheEnd = pastTheEnd;
  reachingTheEnd.app1Length = toTheEnd;

  JpegSpec bareFrame;  // FF D8 FF D9
  bareFrame.bodyBytes = 0;

  const std::pair<JpegSpec, ExifStatus> cases[] = {
      {bareFrame, ExifStatus::noExif},
      {noApp1, ExifStatus::noExif},           {notExifFirst, ExifStatus::noExif},
      {shortNotExifFirst, ExifStatus::corrupt},
      {pairInsideApp2, ExifStatus::noExif},   {tooShort, ExifStatus::corrupt},
      {shortestAllowed, ExifStatus::ok},      {pastTheEnd, ExifStatus::corrupt},
      {reachingTheEnd, ExifStatus::ok},
  };
  for (const auto& [jpeg, status] : cases) {
    ExifMetadata metadata;
    metadata.model = "stale";
    EXPECT_EQ(parseFile(buildJpeg(jpeg), metadata), status) << testing::PrintToString(jpeg.before);
    EXPECT_EQ(metadata.model, "");
  }
}

TEST(ParseJpeg, ASecondParseKeepsNothingOfTheFirst) {
  ExifMetadata metadata;
  ASSERT_EQ(parseFile(buildJpeg(canonJpeg()), metadata), ExifStatus::ok);
  JpegSpec noMake;
  noMake.app1 = buildExifBlock(ExifBlockSpec());
  EXPECT_EQ(parseFile(buildJpeg(noMake), metadata), ExifStatus::ok);
  EXPECT_EQ(metadata.make, "");
}

TEST(ParseExifBlock, SmallestBlockParsesAndOneByteLessIsCorrupt) {
  const std::string block("Exif\0\0II\x2A\0\x08\0\0\0\0\0\0\0\0\0", 20);
  ExifMetadata metadata;
  EXPECT_EQ(parseBlock(block, metadata), ExifStatus::ok);
  ExifMetadata expected;
  expected.littleEndian = true;
  EXPECT_TRUE(allFields(metadata) == allFields(expected));
  EXPECT_EQ(parseBlock(block.substr(0, 19), metadata), ExifStatus::corrupt);
}

TEST(ParseExifBlock, HeaderChecks) {
  const std::string block = buildExifBlock(canonBlock());
  ExifBlockSpec bigMagic = canonBlock();
  bigMagic.magic = 0x2A00;  // 42 written in the other order
  ExifBlockSpec bigMagicMm = canonBlock(false);
  bigMagicMm.magic = 0x2A00;
  ExifBlockSpec mixedMark = canonBlock();
  mixedMark.byteOrderMark = "IM";
  ExifBlockSpec lowerMark = canonBlock();
  lowerMark.byteOrderMark = "ii";

  const std::pair<std::string, ExifStatus> cases[] = {
      {"", ExifStatus::noExif},
      {std::string("Exif\0", 5), ExifStatus::noExif},
      {withBytes(block, 0, "exif"), ExifStatus::noExif},
      {withBytes(block, 4, "\x01"), ExifStatus::noExif},
      {std::string("Exif\0\0", 6), ExifStatus::corrupt},
      {block.substr(0, 13), ExifStatus::corrupt},
      {buildExifBlock(mixedMark), ExifStatus::badByteOrder},
      {buildExifBlock(lowerMark), ExifStatus::badByteOrder},
      {buildExifBlock(bigMagic), ExifStatus::corrupt},
      {buildExifBlock(bigMagicMm), ExifStatus::corrupt},
      {block, ExifStatus::ok},
      {buildExifBlock(canonBlock(false)), ExifStatus::ok},
  };
  for (const auto& [bytes, status] : cases) {
    ExifMetadata metadata;
    EXPECT_EQ(parseBlock(bytes, metadata), status) << testing::PrintToString(bytes);
  }
  ExifMetadata metadata;
  EXPECT_EQ(metadata.parseExifBlock(nullptr, 100), ExifStatus::noExif);
}

TEST(ParseExifBlock, ByteOrderMarkIsStoredEvenWhenTheParseFails) {
  ExifBlockSpec badMagic = canonBlock(true);
  badMagic.magic = 7;
  ExifMetadata metadata;
  EXPECT_EQ(parseBlock(buildExifBlock(badMagic), metadata), ExifStatus::corrupt);
  EXPECT_TRUE(metadata.littleEndian);
  badMagic.littleEndian = false;
  EXPECT_EQ(parseBlock(buildExifBlock(badMagic), metadata), ExifStatus::corrupt);
  EXPECT_FALSE(metadata.littleEndian);
}

TEST(ParseExifBlock, Ifd0MustLieInTheBlock) {
  const std::uint32_t length = lengthOf(buildExifBlock(canonBlock()));
  // IFD0 offsets count from block position 6.
  const std::pair<std::uint32_t, ExifStatus> offsets[] = {
      {length - 6, ExifStatus::corrupt},      // at the end
      {length - 7, ExifStatus::corrupt},      // one byte: no room for the count
      {length - 12, ExifStatus::corrupt},     // a count but too few bytes for entries
      {0xFFFFFFFA, ExifStatus::corrupt},      // wraps to 0 in 32 bits
      {0xFFFFFFFF, ExifStatus::corrupt},
  };
  for (bool little : {true, false}) {
    for (const auto& [offset, status] : offsets) {
      ExifBlockSpec layout = canonBlock(little);
      layout.ifd0Offset = offset;
      ExifMetadata metadata;
      EXPECT_EQ(parseBlock(buildExifBlock(layout), metadata), status) << offset;
    }
  }
}

TEST(ParseExifBlock, EntryCountsMustFitTheBlock) {
  // IFD0 has the make and the EXIF pointer, the sub-IFD one entry, the GPS IFD two.
  ExifBlockSpec layout = canonBlock();
  layout.exif = {shortEntry(0xA405, {24})};
  layout.gps = {asciiEntry(0x0001, "S"), asciiEntry(0x0003, "W")};
  const std::string exact = buildExifBlock(layout);
  ExifMetadata metadata;
  ASSERT_EQ(parseBlock(exact, metadata), ExifStatus::ok);
  ASSERT_EQ(metadata.focalLength35mm, 24);

  // The last directory ends 4 bytes (its next offset) before the block: counts that
  // take those bytes as a further entry's start still fail, since an entry needs 12.
  for (bool little : {true, false}) {
    layout.littleEndian = little;
    ExifBlockSpec ifd0 = layout;
    ifd0.ifd0Count = 0xFFFF;
    ExifBlockSpec exif = layout;
    exif.exifCount = 0xFFFF;
    ExifBlockSpec gps = layout;
    gps.gpsCount = 0xFFFF;
    ExifBlockSpec gpsOneMore = layout;
    gpsOneMore.gpsCount = 3;

    ExifMetadata failed;
    EXPECT_EQ(parseBlock(buildExifBlock(ifd0), failed), ExifStatus::corrupt);
    EXPECT_EQ(failed.make, "");
    EXPECT_EQ(parseBlock(buildExifBlock(exif), failed), ExifStatus::corrupt);
    EXPECT_EQ(failed.make, "Canon");  // what came before the failure stays
    failed = ExifMetadata();
    EXPECT_EQ(parseBlock(buildExifBlock(gps), failed), ExifStatus::corrupt);
    EXPECT_EQ(failed.make, "Canon");
    EXPECT_EQ(failed.focalLength35mm, 24);
    EXPECT_EQ(parseBlock(buildExifBlock(gpsOneMore), failed), ExifStatus::corrupt);
  }
}

// A sub-IFD pointer whose value is `offset`, to an otherwise empty block.
std::string blockWithExifPointer(std::uint32_t offset, std::uint16_t type = tiff::kLong) {
  ExifBlockSpec layout = canonBlock();
  TiffEntry pointer = pointerEntry(0x8769, Directory::exif);
  pointer.type = type;
  pointer.valueField = offset;
  layout.ifd0.push_back(pointer);
  return buildExifBlock(layout);
}

TEST(ParseExifBlock, SubDirectoriesTooCloseToTheEndAreSkipped) {
  // blockWithExifPointer's block ends with IFD0's 4-byte next offset; reading it as
  // a directory count of 0 needs 6 bytes, so a directory there does not fit.
  const std::uint32_t length = lengthOf(blockWithExifPointer(0));
  const std::pair<std::uint32_t, ExifStatus> offsets[] = {
      {length - 6 - 4, ExifStatus::corrupt},  // 4 bytes left: read, and too short
      {length - 6 - 3, ExifStatus::ok},       // 3 bytes left: skipped
      {length - 6, ExifStatus::ok},           // at the end
      {0x7FFFFFFF, ExifStatus::ok},
      {0xFFFFFFFA, ExifStatus::ok},           // wraps to 0 in 32 bits
      {0xFFFFFFFF, ExifStatus::ok},
  };
  for (const auto& [offset, status] : offsets) {
    ExifMetadata metadata;
    EXPECT_EQ(parseBlock(blockWithExifPointer(offset), metadata), status) << offset;
    EXPECT_EQ(metadata.make, "Canon");
  }
  // The same for the GPS directory.
  ExifBlockSpec layout = canonBlock();
  TiffEntry pointer = pointerEntry(0x8825, Directory::gps);
  pointer.valueField = length - 6 - 3;
  layout.ifd0.push_back(pointer);
  ExifMetadata metadata;
  EXPECT_EQ(parseBlock(buildExifBlock(layout), metadata), ExifStatus::ok);
  layout.ifd0.back().valueField = length - 6 - 4;
  EXPECT_EQ(parseBlock(buildExifBlock(layout), metadata), ExifStatus::corrupt);
}

TEST(ParseExifBlock, PointerEntriesMustDecodeAndTheLastOneWins) {
  ExifBlockSpec layout;
  layout.exif = {shortEntry(0xA405, {35})};
  // A first pointer to nowhere, then the real one appended by the builder.
  TiffEntry lost = pointerEntry(0x8769, Directory::ifd0);
  lost.valueField = 0x00FFFFFF;
  layout.ifd0 = {lost, pointerEntry(0x8769, Directory::exif)};
  ExifMetadata metadata;
  EXPECT_EQ(parseBlock(buildExifBlock(layout), metadata), ExifStatus::ok);
  EXPECT_EQ(metadata.focalLength35mm, 35);

  std::swap(layout.ifd0[0], layout.ifd0[1]);
  metadata = ExifMetadata();
  EXPECT_EQ(parseBlock(buildExifBlock(layout), metadata), ExifStatus::ok);
  EXPECT_EQ(metadata.focalLength35mm, 0);

  // The value field points whatever the accepted type; an entry that does not decode
  // (refused type, or a value outside the block) is not recognised as a pointer.
  struct Typed {
    std::uint16_t type;
    std::uint32_t count;
    std::uint16_t focal;
  };
  const Typed typed[] = {{tiff::kUndefined, 1, 35}, {tiff::kShort, 1, 35},
                         {tiff::kRational, 1, 35},  {8, 1, 0},
                         {11, 1, 0},                {tiff::kLong, 0x10000000, 0}};
  for (const Typed& t : typed) {
    ExifBlockSpec one;
    one.exif = {shortEntry(0xA405, {35})};
    TiffEntry pointer = pointerEntry(0x8769, Directory::exif);
    pointer.type = t.type;
    pointer.count = t.count;
    one.ifd0 = {pointer};
    metadata = ExifMetadata();
    EXPECT_EQ(parseBlock(buildExifBlock(one), metadata), ExifStatus::ok) << t.type;
    EXPECT_EQ(metadata.focalLength35mm, t.focal) << t.type;
  }
}

}  // namespace
