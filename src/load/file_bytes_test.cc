#include "load/file_bytes.h"

#include <gtest/gtest.h>

#include "exif/exif_metadata.h"
#include "byte_pattern.h"
#include "exif_fields.h"
#include "jpeg_builder.h"
#include "memory_image_files.h"
#include "temp_folder.h"

namespace {

// One file of the given bytes, opened through the seam.
struct Opened {
  MemoryImageFiles files;
  std::unique_ptr<platform::ImageFile> file;
  explicit Opened(MemoryFile memory) {
    files.add("a.jpg", std::move(memory));
    file = files.open("a.jpg", {}).file;
  }
};

TEST(FileBytes, GivesTheFilesOwnBytesForEveryRange) {
  // Around the page size, the head that is read first and the size read whole.
  const std::size_t sizes[] = {1, 4095, 4097, 16384, 16385, 65536, 65537, 300000};
  for (std::size_t size : sizes) {
    const std::string expected = patternOf(size);
    Opened opened(MemoryFile{expected});
    FileBytes bytes(*opened.file);
    ASSERT_TRUE(bytes.readEnds()) << size;
    const std::uint64_t starts[] = {0, 1, 4095, 4096, 16383, 16384, size / 2, size - 2, size - 1};
    const std::size_t lengths[] = {0, 1, 2, 12, 4096, 40000};
    for (std::uint64_t start : starts) {
      for (std::size_t length : lengths) {
        if (start > size || length > size - start) {
          EXPECT_EQ(bytes.bytesAt(start, length), nullptr);
          continue;
        }
        const unsigned char *at = bytes.bytesAt(start, length);
        ASSERT_NE(at, nullptr) << size << " " << start << " " << length;
        EXPECT_EQ(std::string(reinterpret_cast<const char *>(at), length),
                  expected.substr(start, length))
            << size << " " << start << " " << length;
        std::string copied(length, '\0');
        EXPECT_TRUE(bytes.copyTo(start, length, reinterpret_cast<unsigned char *>(copied.data())));
        EXPECT_EQ(copied, expected.substr(start, length));
      }
    }
    EXPECT_FALSE(bytes.failed());
    EXPECT_EQ(bytes.bytesAt(size, 1), nullptr);
  }
}

// On a share every request waits: a photograph laid out as cameras write it,
// however long its body, is parsed from its two ends alone.
TEST(FileBytes, PhotographIsParsedFromOneReadOfEachEnd) {
  for (std::size_t body : {std::size_t{1000}, std::size_t{200000}, std::size_t{20000000}}) {
    PhotoSpec photo = droneFrame(30.5);
    photo.bodyBytes = body;
    Opened opened(MemoryFile{makePhoto(photo)});
    FileBytes bytes(*opened.file);
    ASSERT_TRUE(bytes.readEnds());
    ExifMetadata metadata;
    EXPECT_EQ(metadata.parseJpeg(bytes), ExifStatus::ok);
    EXPECT_EQ(metadata.make, "DJI");
    EXPECT_EQ(opened.files.reads, body < 8000 ? 1 : 2) << body;
  }
}

// A file searched from front to back says so once, when the search passes the start;
// a photograph whose EXIF block is near its start never does, however long its body.
TEST(FileBytes, OnlyTheSearchThroughAFileWithoutExifReadsInOrder) {
  JpegSpec stripped = photoJpeg(droneFrame(30.5));
  stripped.app1.reset();
  stripped.bodyBytes = 3700000;
  JpegSpec late = photoJpeg(droneFrame(30.5));
  late.before.push_back(jpegSegment(0xE2, std::string(300000, 'x')));
  PhotoSpec photo = droneFrame(30.5);
  photo.bodyBytes = 20000000;
  const std::pair<std::string, int> cases[] = {
      {buildJpeg(stripped), 1}, {buildJpeg(late), 1}, {makePhoto(photo), 0}};
  for (const auto& [content, hints] : cases) {
    Opened opened(MemoryFile{content});
    FileBytes bytes(*opened.file);
    ASSERT_TRUE(bytes.readEnds());
    ExifMetadata metadata;
    metadata.parseJpeg(bytes);
    EXPECT_EQ(opened.files.inOrderHints, hints) << content.size();
  }
}

// A reading thread keeps the pieces from one file to the next: the next file's ranges
// are its own, even where the last file's pieces cover the same places.
TEST(FileBytes, PiecesKeptFromTheLastFileGiveNothingOfIt) {
  const std::string first = patternOf(700000);
  std::string second = first;
  for (char& byte : second) byte = static_cast<char>(byte ^ 0x5A);
  ReadPieces pieces;
  for (const std::string& content : {first, second, first}) {
    Opened opened(MemoryFile{content});
    FileBytes bytes(*opened.file, pieces);
    ASSERT_TRUE(bytes.readEnds());
    // The head, a range of its own, a search's piece, and the tail.
    const std::pair<std::uint64_t, std::size_t> ranges[] = {
        {10, 100}, {100000, 5000}, {300000, 262144}, {699990, 10}};
    for (const auto& [start, length] : ranges) {
      const unsigned char* at = bytes.bytesAt(start, length);
      ASSERT_NE(at, nullptr);
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(at), length),
                content.substr(start, length))
          << start;
    }
  }
}

TEST(FileBytes, FailedReadIsKeptAndGivesNothing) {
  const std::string content = patternOf(200000);
  struct Case {
    const char* name;
    int failFromRead;
    bool endsRead;
  };
  const Case cases[] = {{"the start", 1, false}, {"the end", 2, false}, {"a later read", 3, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    MemoryFile file{content};
    file.failFromRead = c.failFromRead;
    Opened opened(file);
    FileBytes bytes(*opened.file);
    EXPECT_EQ(bytes.readEnds(), c.endsRead);
    if (c.endsRead) {
      EXPECT_FALSE(bytes.failed());
      EXPECT_EQ(bytes.bytesAt(100000, 10), nullptr);
    }
    EXPECT_TRUE(bytes.failed());
  }
}

// A parse through ranges read on demand finds the end marker and the EXIF segment
// wherever they lie: around every boundary of the reads and of the parser's searches,
// the first page they look at (4 KB) and their later pieces (256 KB). Each input is
// expected to parse as a plain photograph does, or to fail as the byte-by-byte rule says.
TEST(FileBytes, EndMarkerAndExifSegmentAreFoundAcrossEveryBoundary) {
  const std::string photo = makePhoto(droneFrame(30.5));
  struct Input {
    std::string name;
    std::string bytes;
    ExifStatus status;  // ok: parses as `photo` does
  };
  std::vector<Input> inputs;
  // Bytes after the last FF D9: the backward search looks at the last two bytes, then a
  // page, then 256 KB at a time, so the pair straddles its pieces at 1, 4096 and 266239.
  for (int trailing : {1, 2, 4095, 4096, 4097, 266238, 266239, 266240}) {
    inputs.push_back({"trailing " + std::to_string(trailing),
                      photo + std::string(static_cast<std::size_t>(trailing), 'x'),
                      ExifStatus::ok});
  }
  // A segment before the APP1: its FF E1 straddles the first piece of the forward search
  // at 4089, the second at 266232.
  for (int before : {4088, 4089, 4090, 266231, 266232, 266233}) {
    JpegSpec jpeg = photoJpeg(droneFrame(30.5));
    jpeg.before.push_back(jpegSegment(0xE2, std::string(static_cast<std::size_t>(before), 'x')));
    inputs.push_back({"segment before " + std::to_string(before), buildJpeg(jpeg), ExifStatus::ok});
  }
  JpegSpec stripped = photoJpeg(droneFrame(30.5));
  stripped.app1.reset();
  stripped.bodyBytes = 600000;
  inputs.push_back({"no FF E1", buildJpeg(stripped), ExifStatus::noExif});
  stripped.endMarker = false;
  inputs.push_back({"neither FF E1 nor FF D9", buildJpeg(stripped), ExifStatus::notJpeg});

  const ExactBuffer plain(photo);
  ExifMetadata expected;
  ASSERT_EQ(expected.parseJpeg(plain.data(), plain.length()), ExifStatus::ok);
  for (const Input &input : inputs) {
    SCOPED_TRACE(input.name);
    for (const ReadSizes &sizes : {ReadSizes{}, ReadSizes{4, 8, 8, 8}}) {
      Opened opened(MemoryFile{input.bytes});
      FileBytes bytes(*opened.file, sizes);
      ASSERT_TRUE(bytes.readEnds());
      ExifMetadata parsed;
      EXPECT_EQ(parsed.parseJpeg(bytes), input.status);
      if (input.status == ExifStatus::ok) {
        EXPECT_TRUE(allFields(parsed) == allFields(expected));
      }
      EXPECT_FALSE(bytes.failed());
    }
  }
}

// Real photographs read in small ranges parse as they do whole in memory.
TEST(FileBytes, PhotographsReadInSmallRangesParseAsTheyDoWhole) {
  for (const char *name : {"Canon_EOS_REBEL_T3i.jpg", "DJI_0020.JPG", "Nikon_D5000.jpg",
                           "User_Comment_Encoding.jpg", "Casio_QV-7000SX.jpg"}) {
    SCOPED_TRACE(name);
    const std::string content = readFileBytes(std::string(PRECHECK_CORPUS_DIR) + "/" + name);
    const ExactBuffer whole(content);
    ExifMetadata expected;
    const ExifStatus status = expected.parseJpeg(whole.data(), whole.length());
    Opened opened(MemoryFile{content});
    FileBytes bytes(*opened.file, ReadSizes{4, 8, 8, 8});
    ASSERT_TRUE(bytes.readEnds());
    ExifMetadata parsed;
    EXPECT_EQ(parsed.parseJpeg(bytes), status);
    EXPECT_TRUE(allFields(parsed) == allFields(expected));
  }
}

}  // namespace
