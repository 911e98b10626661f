#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

// Bytes that differ from page to page and from a file of zeros.
std::string patternOf(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096 + 1);
  return bytes;
}

unsigned sumOf(const std::string& bytes) {
  unsigned sum = 0;
  for (char byte : bytes) sum += static_cast<unsigned char>(byte);
  return sum;
}

struct Shown {
  bool read = false;
  int calls = 0;
  std::string bytes;
};

Shown show(const std::string& path) {
  Shown shown;
  shown.read = platform::parseImageFile(path, [&](const unsigned char* data, std::uint32_t length) {
    ++shown.calls;
    shown.bytes.assign(reinterpret_cast<const char*>(data), length);
  });
  return shown;
}

TEST(ParseImageFile, ShowsEveryByteOfTheFileOnce) {
  TempFolder folder;
  // Around the page size, where a mapping ends inside or exactly at a page, and
  // around 64 KB, above which files are mapped instead of read.
  const std::size_t sizes[] = {1, 4095, 4096, 4097, 65536, 65537, 3 * 65536 + 5};
  for (std::size_t size : sizes) {
    const std::string expected = patternOf(size);
    folder.writeFile("a.jpg", expected);
    Shown shown = show(folder.at("a.jpg"));
    EXPECT_TRUE(shown.read) << size;
    EXPECT_EQ(shown.calls, 1) << size;
    EXPECT_TRUE(shown.bytes == expected) << size;
  }
}

TEST(ParseImageFile, SkipsWhatIsNoFileWithBytesWithoutShowingIt) {
  TempFolder folder;
  folder.writeFile("empty.jpg", "");
  folder.makeFolder("folder.jpg");
  for (const char* name : {"missing.jpg", "empty.jpg", "folder.jpg"}) {
    Shown shown = show(folder.at(name));
    EXPECT_FALSE(shown.read) << name;
    EXPECT_EQ(shown.calls, 0) << name;
  }
}

// Cuts the file while its bytes are being parsed, then reads all of them as the parser
// could. Where the system lets a mapped file be cut, the file must be skipped and the
// run go on; where it refuses, the file is shown whole. A small file would be copied
// before it is shown, so this one has a photograph's size.
TEST(ParseImageFile, FileCutWhileParsedIsSkippedWithoutACrash) {
  TempFolder folder;
  const std::size_t size = 4 * 1024 * 1024 + 100;
  // To nothing, to inside the first page, and inside the last page, where no page
  // fault tells and only the size does.
  const std::size_t cuts[] = {0, 10, size - 50};
  for (std::size_t cutTo : cuts) {
    const std::string bytes = patternOf(size);
    folder.writeFile("a.jpg", bytes);
    const std::string path = folder.at("a.jpg");
    bool cut = false;
    unsigned sum = 0;
    const bool read =
        platform::parseImageFile(path, [&](const unsigned char* data, std::uint32_t length) {
          std::error_code refused;
          fs::resize_file(path, cutTo, refused);
          cut = !refused;
          for (std::uint32_t i = 0; i < length; ++i) sum += data[i];
        });
    EXPECT_EQ(read, !cut) << cutTo;
    if (!cut) {
      EXPECT_EQ(sum, sumOf(bytes)) << cutTo;
    }
    // The next file is read as usual.
    folder.writeFile("b.jpg", "after");
    EXPECT_EQ(show(folder.at("b.jpg")).bytes, "after") << cutTo;
  }
}

#ifdef _WIN32
// A page of a view that cannot be read (a network share gone) raises an in-page error.
// Raised here by hand, as no test can pull a disk away: the loader must let the parse
// run on over zeros and then skip the file, and the next file must read as usual.
TEST(ParseImageFile, UnreadablePageSkipsTheFileWithoutACrash) {
  TempFolder folder;
  const std::string bytes = patternOf(4 * 1024 * 1024);
  folder.writeFile("a.jpg", bytes);
  unsigned char afterFault = 0xFF;
  const bool read = platform::parseImageFile(
      folder.at("a.jpg"), [&](const unsigned char* data, std::uint32_t) {
        const ULONG_PTR details[] = {0, reinterpret_cast<ULONG_PTR>(data + 5000), 0};
        RaiseException(EXCEPTION_IN_PAGE_ERROR, 0, 3, details);
        afterFault = data[5000];
      });
  EXPECT_FALSE(read);
  EXPECT_EQ(afterFault, 0);
  folder.writeFile("b.jpg", bytes);
  EXPECT_TRUE(show(folder.at("b.jpg")).bytes == bytes);
}
#endif

#ifdef SIGBUS
// The loader catches bus errors inside the file it shows; any other one must still
// end the program, not be swallowed or loop.
TEST(ParseImageFileDeathTest, BusErrorsElsewhereStillEndTheProgram) {
  TempFolder folder;
  folder.writeFile("a.jpg", "bytes");
  EXPECT_DEATH(
      {
        show(folder.at("a.jpg"));
        std::raise(SIGBUS);
      },
      "");
}
#endif

}  // namespace
