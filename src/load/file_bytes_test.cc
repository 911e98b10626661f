#include "load/file_bytes.h"

#include <gtest/gtest.h>

#include "exif/exif_metadata.h"
#include "jpeg_builder.h"
#include "memory_image_files.h"

namespace {

// Bytes that differ from place to place.
std::string patternOf(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096 + 1);
  return bytes;
}

// One file of the given bytes, opened through the seam.
struct Opened {
  MemoryImageFiles files;
  std::unique_ptr<platform::ImageFile> file;
  explicit Opened(MemoryFile memory) {
    files.add("a.jpg", std::move(memory));
    file = files.open("a.jpg").file;
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
        const unsigned char* at = bytes.bytesAt(start, length);
        ASSERT_NE(at, nullptr) << size << " " << start << " " << length;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(at), length),
                  expected.substr(start, length))
            << size << " " << start << " " << length;
        std::string copied(length, '\0');
        EXPECT_TRUE(bytes.copyTo(start, length, reinterpret_cast<unsigned char*>(copied.data())));
        EXPECT_EQ(copied, expected.substr(start, length));
      }
    }
    EXPECT_FALSE(bytes.failed());
    EXPECT_EQ(bytes.bytesAt(size, 1), nullptr);
  }
}

// On a share every request waits: a photograph laid out as cameras write it, however
// long its body, is parsed from its two ends alone.
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
    EXPECT_EQ(opened.files.reads, body < 60000 ? 1 : 2) << body;
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
  for (const Case& c : cases) {
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

}  // namespace
