// Real photographs (tests/corpus, described in its README). The expected values were
// read from each file's raw entries with exiftool -v3 and worked out by this reader's
// rules: Make and Model keep trailing blanks and all but one trailing NUL, a zero
// denominator reads as 0, and only the first APP1 and the last FF D9 count.
#include <gtest/gtest.h>

#include <cmath>

#include "exif/exif_metadata.h"
#include "jpeg_builder.h"
#include "temp_folder.h"

namespace {

struct Photo {
  const char* file;
  ExifStatus status;
  // The rest is only checked when the status is ok.
  bool littleEndian = false;
  std::string make = "";
  std::string model = "";
  std::uint32_t pixelWidth = 0;
  std::uint32_t pixelHeight = 0;
  double focalLength = 0.0;
  std::uint16_t focalLength35mm = 0;
  double latitude = 0.0;
  double longitude = 0.0;
  double altitude = 0.0;
};

std::string nuls(std::size_t count) { return std::string(count, '\0'); }

const Photo kPhotos[] = {
    // GPS 41/1 5118/100 0/1 N, 12/1 2933/100 0/1 E, no altitude; focal 77/20.
    {"Apple_iPhone_4.jpg", ExifStatus::ok, false, "Apple", "iPhone 4", 1296, 968, 3.85, 0,
     41.853, 12.488833333333334, 0.0},
    // Pixel dimensions as SHORT; no GPS directory.
    {"Canon_EOS_REBEL_T3i.jpg", ExifStatus::ok, false, "Canon", "Canon EOS REBEL T3i", 5184,
     3456, 33.0, 0, 0.0, 0.0, 0.0},
    // The first FF E1 starts a 14-byte segment: shorter than 16, before any header check.
    {"Casio_QV-7000SX.jpg", ExifStatus::corrupt},
    // Reference S and W before SRATIONAL coordinates of 0: both negated to -0.0.
    {"FLIR_Vue_Pro_640.jpg", ExifStatus::ok, true, "FLIR", "", 640, 512, 0.0, 0, -0.0, -0.0,
     0.0},
    // FocalLength 0/16777216; 54/1 5938/100 0/1 N, 1/1 5485/100 0/1 W, no altitude.
    {"FujiFilm_FinePixS1Pro_(1).jpg", ExifStatus::ok, true, "FUJIFILM", "FinePixS1Pro", 2400,
     1600, 0.0, 0, 54.989666666666665, -1.9141666666666666, 0.0},
    // GPS out of tag order; seconds 0/0 count as 0: 48/1 5332358/100000 N,
    // 21/1 259507/100000 E, altitude 324145/1000 with reference 0.
    {"Nikon_D5000.jpg", ExifStatus::ok, true, "NIKON CORPORATION", "NIKON D5000", 4288, 2848,
     18.0, 27, 48.88872633333333, 21.043251166666668, 324.145},
    // "RICOH" + 6 blanks + NUL, "DC-3Z" + 10 blanks + NUL; 2615 bytes after the last FF D9.
    {"Ricoh_DC-3Z_(low_res).jpg", ExifStatus::ok, false, "RICOH      ", "DC-3Z          ", 0, 0,
     5.0, 0, 0.0, 0.0, 0.0},
    // "SAMSUNG" + 12 blanks + NUL; a GPS directory holding only zeros; 35 mm focal 0.
    {"Samsung_GT-I9000_(Galaxy_S).jpg", ExifStatus::ok, true, "SAMSUNG            ", "GT-I9000",
     640, 480, 3.79, 0, 0.0, 0.0, 0.0},
    {"Sony_Cybershot_(7).jpg", ExifStatus::noExif},
    // "SONY" + 2 NULs (count 6) and "DSC-D700" + 2 NULs: one NUL stays.
    {"Sony_D700.jpg", ExifStatus::ok, false, std::string("SONY") + nuls(1),
     std::string("DSC-D700") + nuls(1), 1344, 1024, 0.0, 0, 0.0, 0.0, 0.0},
    // The last FF D9 lies in the thumbnail, 842 bytes before the APP1 ends: the segment
    // length then runs past the trimmed end.
    {"User_Comment_Encoding.jpg", ExifStatus::corrupt},
    // Make and Model NUL-padded to 30 bytes; 46/1 50/1 339993/10000 N,
    // 91/1 59/1 394778/10000 W, altitude 198609/1000.
    {"DJI_0020.JPG", ExifStatus::ok, true, "DJI" + nuls(26), "FC300S" + nuls(23), 4000, 2250,
     3.61, 20, 46.84277758333334, -91.99429938888889, 198.609},
    // The same survey re-saved big-endian: 339859/10000 N, 377734/10000 W, 198509/1000.
    {"DJI_0025.JPG", ExifStatus::ok, false, "DJI" + nuls(26), "FC300S" + nuls(23), 4000, 2250,
     3.61, 20, 46.84277386111111, -91.99382594444444, 198.509},
};

TEST(Corpus, EachPhotographGivesTheValuesItsBytesHold) {
  for (const Photo& photo : kPhotos) {
    SCOPED_TRACE(photo.file);
    const std::string bytes = readFileBytes(std::string(PRECHECK_CORPUS_DIR "/") + photo.file);
    ASSERT_FALSE(bytes.empty());
    ExifMetadata m;
    const ExactBuffer file(bytes);
    ASSERT_EQ(m.parseJpeg(file.data(), file.length()), photo.status);
    if (photo.status != ExifStatus::ok) continue;
    EXPECT_EQ(m.littleEndian, photo.littleEndian);
    EXPECT_EQ(m.make, photo.make);
    EXPECT_EQ(m.model, photo.model);
    EXPECT_EQ(m.pixelWidth, photo.pixelWidth);
    EXPECT_EQ(m.pixelHeight, photo.pixelHeight);
    EXPECT_EQ(m.focalLength, photo.focalLength);
    EXPECT_EQ(m.focalLength35mm, photo.focalLength35mm);
    EXPECT_EQ(m.gps.latitude, photo.latitude);
    EXPECT_EQ(std::signbit(m.gps.latitude), std::signbit(photo.latitude));
    EXPECT_EQ(m.gps.longitude, photo.longitude);
    EXPECT_EQ(std::signbit(m.gps.longitude), std::signbit(photo.longitude));
    EXPECT_EQ(m.gps.altitude, photo.altitude);
  }
}

// The frame size as a decoder takes it, here as exiftool reads it from the frame header
// (File:ImageWidth and ImageHeight), whatever the file's EXIF block holds: several of
// these photographs were scaled down and kept the camera's pixel tags.
TEST(Corpus, EachPhotographGivesTheSizeOfItsFrame) {
  const struct {
    const char* file;
    std::uint32_t width;
    std::uint32_t height;
  } frames[] = {
      {"Apple_iPhone_4.jpg", 1296, 968},     {"Canon_EOS_REBEL_T3i.jpg", 1152, 768},
      {"Casio_QV-7000SX.jpg", 320, 240},     {"FLIR_Vue_Pro_640.jpg", 640, 512},
      {"FujiFilm_FinePixS1Pro_(1).jpg", 600, 400}, {"Nikon_D5000.jpg", 858, 570},
      {"Ricoh_DC-3Z_(low_res).jpg", 640, 480}, {"Samsung_GT-I9000_(Galaxy_S).jpg", 640, 480},
      {"Sony_Cybershot_(7).jpg", 400, 300},  {"Sony_D700.jpg", 672, 512},
      {"User_Comment_Encoding.jpg", 3840, 2160}, {"DJI_0020.JPG", 4000, 2250},
      {"DJI_0025.JPG", 4000, 2250},
  };
  for (const auto& frame : frames) {
    SCOPED_TRACE(frame.file);
    const std::string bytes = readFileBytes(std::string(PRECHECK_CORPUS_DIR "/") + frame.file);
    ExifMetadata m;
    const ExactBuffer file(bytes);
    m.parseJpeg(file.data(), file.length());
    EXPECT_EQ(m.frameWidth, frame.width);
    EXPECT_EQ(m.frameHeight, frame.height);
  }
}

// TIFF files whose tags exiftool wrote and laid out (the README says how); the values
// are what exiftool -n reads back.
TEST(Corpus, TiffFilesWrittenByExiftoolGiveTheValuesItReads) {
  const struct {
    const char* file;
    bool littleEndian;
    std::uint16_t focalLength35mm;
    bool dng;
  } files[] = {
      {"made_band_ii.tif", true, 30, false},
      {"made_band_mm.tif", false, 30, false},
      {"made_raw.dng", true, 0, true},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.file);
    const std::string bytes = readFileBytes(std::string(PRECHECK_CORPUS_DIR "/") + file.file);
    ASSERT_FALSE(bytes.empty());
    ExifMetadata m;
    const ExactBuffer buffer(bytes);
    ASSERT_EQ(m.parseTiff(buffer.data(), buffer.length()), ExifStatus::ok);
    EXPECT_EQ(m.littleEndian, file.littleEndian);
    EXPECT_EQ(m.dng, file.dng);
    EXPECT_EQ(m.make, "MicaSense");
    EXPECT_EQ(m.model, "RedEdge-M");
    EXPECT_EQ(m.pixelWidth, 16u);  // the DNG's from its SubIFD, not its 4 by 3 preview
    EXPECT_EQ(m.pixelHeight, 12u);
    EXPECT_EQ(m.focalLength, 5.5);
    EXPECT_EQ(m.focalLength35mm, file.focalLength35mm);
    EXPECT_NEAR(m.gps.latitude, 47.612345600075, 1e-11);
    EXPECT_NEAR(m.gps.longitude, -122.345678900011, 1e-11);
    EXPECT_EQ(m.gps.altitude, 120.5);
  }
}

}  // namespace
