// Whole TIFF and DNG files read as a JPEG's EXIF block is.
#include <gtest/gtest.h>

#include <string>

#include "exif/exif_metadata.h"
#include "exif_fields.h"
#include "jpeg_builder.h"

namespace {

ExifStatus parseTiffFile(const std::string& file, ExifMetadata& metadata) {
  const ExactBuffer buffer(file);
  return metadata.parseTiff(buffer.data(), buffer.length());
}

// A MicaSense-like band: make, model, GPS, focal length, no EXIF pixel tags.
PhotoSpec bandPhoto(bool littleEndian) {
  PhotoSpec photo;
  photo.littleEndian = littleEndian;
  photo.make = "MicaSense";
  photo.model = "RedEdge-M";
  photo.focalLength = Fraction{5500, 1000};
  photo.gps = GpsSpec{47.6, -122.3, 120.5};
  return photo;
}

// The same tags give the same record in a TIFF as in a JPEG's EXIF block, in both byte
// orders; only the pixel size comes from IFD0 when the EXIF tags are missing.
TEST(TiffFile, GivesTheRecordOfTheSameTagsInAJpeg) {
  for (const bool little : {true, false}) {
    SCOPED_TRACE(little ? "II" : "MM");
    ExifMetadata fromJpeg;
    const ExactBuffer jpeg(makePhoto(bandPhoto(little)));
    ASSERT_EQ(fromJpeg.parseJpeg(jpeg.data(), jpeg.length()), ExifStatus::ok);

    ExifMetadata fromTiff;
    ASSERT_EQ(parseTiffFile(buildTiff(photoTiff(bandPhoto(little), 1280, 960)), fromTiff),
              ExifStatus::ok);
    EXPECT_EQ(fromTiff.pixelWidth, 1280u);
    EXPECT_EQ(fromTiff.pixelHeight, 960u);
    EXPECT_EQ(fromTiff.frameWidth, 1280u);
    EXPECT_EQ(fromTiff.frameHeight, 960u);
    EXPECT_EQ(fromTiff.make, "MicaSense");
    EXPECT_NEAR(fromTiff.gps.longitude, -122.3, 1e-9);
    fromJpeg.pixelWidth = fromTiff.pixelWidth;
    fromJpeg.pixelHeight = fromTiff.pixelHeight;
    fromJpeg.frameWidth = fromTiff.frameWidth;
    fromJpeg.frameHeight = fromTiff.frameHeight;
    fromJpeg.imageWidth = fromTiff.imageWidth;
    fromJpeg.imageLength = fromTiff.imageLength;
    EXPECT_TRUE(allFields(fromTiff) == allFields(fromJpeg));
  }
}

TEST(TiffFile, ExifPixelTagsWinOverImageWidth) {
  PhotoSpec photo = bandPhoto(true);
  photo.pixelWidth = 2000;
  photo.pixelHeight = 1500;
  photo.pixelsAsShort = true;
  ExifMetadata metadata;
  ASSERT_EQ(parseTiffFile(buildTiff(photoTiff(photo, 1280, 960)), metadata), ExifStatus::ok);
  EXPECT_EQ(metadata.pixelWidth, 2000u);
  EXPECT_EQ(metadata.pixelHeight, 1500u);
  EXPECT_EQ(metadata.frameWidth, 1280u);
}

// A DNG: IFD0 a preview, the raw image a SubIFD with NewSubfileType 0.
ExifBlockSpec dngBlock(bool littleEndian, std::uint32_t ifd0Type) {
  ExifBlockSpec block = photoTiff(bandPhoto(littleEndian), 256, 171);
  block.ifd0.insert(block.ifd0.begin(), longEntry(0x00FE, {ifd0Type}));
  block.ifd0.push_back(pointerEntry(0x014A, Directory::sub));
  block.ifd0.push_back(bytesEntry(0xC612, tiff::kByte, std::string("\1\4\0\0", 4)));
  block.sub = {longEntry(0x00FE, {0}), longEntry(0x0100, {5472}), shortEntry(0x0101, {3648})};
  return block;
}

TEST(TiffFile, DngSizeIsItsFullResolutionImage) {
  for (const bool little : {true, false}) {
    ExifMetadata metadata;
    ASSERT_EQ(parseTiffFile(buildTiff(dngBlock(little, 1)), metadata), ExifStatus::ok);
    EXPECT_TRUE(metadata.dng);
    EXPECT_EQ(metadata.pixelWidth, 5472u);
    EXPECT_EQ(metadata.pixelHeight, 3648u);
    EXPECT_EQ(metadata.frameWidth, 5472u);
  }
  // IFD0 itself the full image: its own size.
  ExifMetadata metadata;
  ASSERT_EQ(parseTiffFile(buildTiff(dngBlock(true, 0)), metadata), ExifStatus::ok);
  EXPECT_EQ(metadata.pixelWidth, 256u);
}

TEST(TiffFile, DamagedOrForeignFilesGiveTheirStatus) {
  const std::string good = buildTiff(photoTiff(bandPhoto(true), 8, 8));
  std::string badMagic = good;
  badMagic[2] = 43;
  std::string ifd0Outside = good;
  ifd0Outside.replace(4, 4, std::string("\xF0\xFF\xFF\x7F", 4));
  ExifBlockSpec danglingSub = dngBlock(true, 1);
  danglingSub.ifd0[danglingSub.ifd0.size() - 2] =
      withValueField(danglingSub.ifd0[danglingSub.ifd0.size() - 2], 0x7FFFFFF0);
  const struct {
    const char* name;
    std::string file;
    ExifStatus status;
  } cases[] = {
      {"JPEG", makePhoto(bandPhoto(true)), ExifStatus::notJpeg},
      {"BigTIFF", std::string("II+\0\x08\0\0\0", 8) + std::string(16, '\0'), ExifStatus::notJpeg},
      {"magic 43", badMagic, ExifStatus::notJpeg},
      {"header only", good.substr(0, 7), ExifStatus::notJpeg},
      {"IFD0 outside", ifd0Outside, ExifStatus::corrupt},
      {"IFD0 cut", good.substr(0, 12), ExifStatus::corrupt},
      {"SubIFD outside", buildTiff(danglingSub), ExifStatus::ok},
  };
  for (const auto& c : cases) {
    ExifMetadata metadata;
    EXPECT_EQ(parseTiffFile(c.file, metadata), c.status) << c.name;
  }
}

}  // namespace
