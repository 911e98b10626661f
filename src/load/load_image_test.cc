#include "load/load_image.h"

#include <gtest/gtest.h>

#include "jpeg_builder.h"
#include "memory_image_files.h"

namespace {

TEST(LoadImage, KeepsWhatTheChecksKeyOn) {
  MemoryImageFiles files;
  PhotoSpec photo = droneFrame(30.5);
  photo.make = std::string("DJI\0tail", 8);  // keyed up to its first NUL
  files.add("a.jpg", MemoryFile{makePhoto(photo)});
  const ImageRecord record = loadImage(files, "a.jpg", {});
  EXPECT_TRUE(record.parsed());
  EXPECT_EQ(record.pixelWidth, 5472u);
  EXPECT_EQ(record.pixelHeight, 3648u);
  EXPECT_EQ(record.make.kept, "DJI");
  EXPECT_TRUE(record.make.whole());
  EXPECT_EQ(record.focalLength, 8.8);
  EXPECT_EQ(record.focalLength35mm, 24);
  EXPECT_NEAR(record.latitude, 30.5, 1e-9);
  EXPECT_NEAR(record.longitude, 114.3608, 1e-9);
  EXPECT_NEAR(record.altitude, 152.3, 1e-9);
}

// Model and capture time only when asked for; the capture time is DateTimeOriginal,
// or DateTime when the file has no DateTimeOriginal.
TEST(LoadImage, KeepsDetailsOnlyWhenAskedFor) {
  MemoryImageFiles files;
  PhotoSpec both = droneFrame(30.5);
  both.dateTime = "2024:05:01 10:00:09";
  both.dateTimeOriginal = "2024:05:01 10:00:00";
  PhotoSpec onlyDateTime = droneFrame(30.5);
  onlyDateTime.dateTime = "2024:05:01 10:00:09";
  files.add("both.jpg", MemoryFile{makePhoto(both)});
  files.add("only.jpg", MemoryFile{makePhoto(onlyDateTime)});
  files.add("none.jpg", MemoryFile{makePhoto(droneFrame(30.5))});
  EXPECT_EQ(loadImage(files, "both.jpg", {}).details, nullptr);
  const std::pair<const char*, const char*> cases[] = {
      {"both.jpg", "2024:05:01 10:00:00"}, {"only.jpg", "2024:05:01 10:00:09"}, {"none.jpg", ""}};
  for (const auto& [path, time] : cases) {
    const ImageRecord record = loadImage(files, path, {}, true);
    ASSERT_NE(record.details, nullptr) << path;
    EXPECT_EQ(record.details->model, "FC6310");
    EXPECT_EQ(record.details->captureTime, time);
  }
}

TEST(LoadImage, SaysWhyAnImageWasNotRead) {
  MemoryImageFiles files;
  MemoryFile special;
  special.openFailure = platform::OpenFailure::notRegularFile;
  files.add("fifo", special);
  MemoryFile locked;
  locked.openFailure = platform::OpenFailure::notOpenable;
  files.add("locked.jpg", locked);
  files.add("empty.jpg", MemoryFile{});
  MemoryFile failing{std::string(100000, 'x')};
  failing.failFromRead = 2;
  files.add("failing.jpg", failing);
  // A file of 2 GiB - 1 bytes is read and checked; 2 GiB is over the limit.
  MemoryFile largest{"\xFF\xD8"};
  largest.statedSize = 0x7FFFFFFF;
  files.add("largest.jpg", largest);
  MemoryFile tooLarge{"\xFF\xD8"};
  tooLarge.statedSize = 0x80000000;
  files.add("too-large.jpg", tooLarge);

  const std::pair<const char*, SkipReason> cases[] = {
      {"gone.jpg", SkipReason::missing},       {"fifo", SkipReason::notRegularFile},
      {"locked.jpg", SkipReason::notOpenable}, {"empty.jpg", SkipReason::empty},
      {"failing.jpg", SkipReason::unreadable}, {"largest.jpg", SkipReason::none},
      {"too-large.jpg", SkipReason::tooLarge},
  };
  for (const auto& [path, reason] : cases) {
    const ImageRecord record = loadImage(files, path, {});
    EXPECT_EQ(record.skipped, reason) << path;
    EXPECT_NE(std::string(describe(record.skipped)), "") << path;
  }
  // Read whole as zeros: no end marker, so it is keyed "error" by the checks.
  EXPECT_EQ(loadImage(files, "largest.jpg", {}).status, ExifStatus::notJpeg);
}

// A disk error is not retried: the image is skipped after the read that failed, and
// the next one is read as usual.
TEST(LoadImage, ReadErrorSkipsTheImageWithoutRetrying) {
  MemoryImageFiles files;
  MemoryFile failing{makePhoto(droneFrame(30.5))};
  failing.failFromRead = 1;
  files.add("failing.jpg", failing);
  files.add("next.jpg", MemoryFile{makePhoto(droneFrame(31.5))});
  EXPECT_EQ(loadImage(files, "failing.jpg", {}).skipped, SkipReason::unreadable);
  EXPECT_EQ(files.reads, 1);
  EXPECT_TRUE(loadImage(files, "next.jpg", {}).parsed());
}

// Eleven text tags that all point at a value almost as long as the file: the make,
// which a check keys on, is kept as its start, its length and its digest, read in
// pieces; the file is not read more than once over.
TEST(LoadImage, TextsPointingAtTheWholeFileCostOneReadOfIt) {
  const std::uint32_t fileSize = 8 * 1024 * 1024;
  // Each value starts 4 KB into the TIFF header, past the directories, and runs over the
  // filler to near the end marker: a make of 8 MB without a NUL.
  const std::uint32_t textLength = fileSize - 4300;
  std::string file = textBombHead(4096, textLength);
  file.resize(fileSize - 2, 'M');
  file += "\xFF\xD9";

  MemoryImageFiles files;
  files.add("bomb.jpg", MemoryFile{file});
  const ImageRecord record = loadImage(files, "bomb.jpg", {});
  ASSERT_TRUE(record.parsed());
  EXPECT_EQ(record.make.kept, std::string(kMakeBytesKept, 'M'));
  EXPECT_EQ(record.make.length, textLength);
  Sha256 digest;
  digest.add(std::string(textLength, 'M'));
  EXPECT_EQ(record.make.digest, digest.finish());
  EXPECT_LE(files.bytesRead, std::uint64_t{fileSize} + 64 * 1024);
}

// What a file is comes from its bytes, and a TIFF or DNG is read like a JPEG; a frame
// smaller than the EXIF tags say (an editor scaled it down) is a size mismatch.
TEST(LoadImage, KnowsWhatEachFileIsAndWhetherItsTagsFitItsFrame) {
  MemoryImageFiles files;
  PhotoSpec scaled = droneFrame(30.5);
  scaled.frame = {{2736, 1824}};
  PhotoSpec framed = droneFrame(30.5);
  framed.frame = {{5472, 3648}};
  PhotoSpec untagged = droneFrame(30.5);
  untagged.pixelWidth.reset();
  untagged.pixelHeight.reset();
  untagged.frame = {{5472, 3648}};
  ExifBlockSpec dng = photoTiff(droneFrame(30.5), 256, 171);
  dng.ifd0.insert(dng.ifd0.begin(), longEntry(0x00FE, {1}));
  dng.ifd0.push_back(pointerEntry(0x014A, Directory::sub));
  dng.ifd0.push_back(bytesEntry(0xC612, tiff::kByte, std::string("\1\4\0\0", 4)));
  dng.sub = {longEntry(0x00FE, {0}), longEntry(0x0100, {5472}), longEntry(0x0101, {3648})};
  ExifBlockSpec bigEndianTiff = photoTiff(droneFrame(30.5), 5472, 3648);
  bigEndianTiff.littleEndian = false;
  files.add("scaled.jpg", MemoryFile{makePhoto(scaled)});
  files.add("framed.jpg", MemoryFile{makePhoto(framed)});
  files.add("untagged.jpg", MemoryFile{makePhoto(untagged)});
  files.add("plain.jpg", MemoryFile{makePhoto(droneFrame(30.5))});
  files.add("band.tif", MemoryFile{buildTiff(bigEndianTiff, 20000)});
  files.add("raw.dng", MemoryFile{buildTiff(dng, 20000)});
  files.add("big.tif", MemoryFile{std::string("II+\0\x08\0\0\0", 8) + std::string(64, '\0')});
  files.add("Thumbs.db", MemoryFile{std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) +
                                    std::string(64, '\0')});
  const struct {
    const char* path;
    FileKind kind;
    bool parsed;
    std::uint32_t frameWidth;
    bool mismatch;
  } cases[] = {
      {"scaled.jpg", FileKind::jpeg, true, 2736, true},
      {"framed.jpg", FileKind::jpeg, true, 5472, false},
      {"untagged.jpg", FileKind::jpeg, true, 5472, true},
      {"plain.jpg", FileKind::jpeg, true, 0, false},  // no frame header: nothing to compare
      {"band.tif", FileKind::tiff, true, 5472, false},
      {"raw.dng", FileKind::dng, true, 5472, false},
      {"big.tif", FileKind::bigTiff, false, 0, false},
      {"Thumbs.db", FileKind::thumbnailCache, false, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const ImageRecord record = loadImage(files, c.path, {}, true);
    EXPECT_EQ(record.kind, c.kind);
    EXPECT_EQ(record.parsed(), c.parsed);
    EXPECT_EQ(record.frameWidth, c.frameWidth);
    EXPECT_EQ(sizeMismatch(record), c.mismatch);
    if (c.parsed) {
      EXPECT_EQ(record.make.kept, "DJI");
    }
  }
  // A run of the checks alone does not walk a JPEG to its frame header.
  EXPECT_EQ(loadImage(files, "framed.jpg", {}).frameWidth, 0u);
}

}  // namespace
