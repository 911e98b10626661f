#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <map>
#include <string>
#include <thread>

#include "byte_pattern.h"
#include "platform/platform.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::OpenFailure;

std::string readAt(platform::ImageFile& file, std::uint64_t offset, std::size_t length) {
  std::string bytes(length, '\0');
  if (!file.readAt(offset, length, reinterpret_cast<unsigned char*>(bytes.data())))
    return "(failed)";
  return bytes;
}

TEST(SystemImageFiles, ReadsTheBytesAtAnyOffset) {
  TempFolder folder;
  const std::string content = patternOf(3 * 65536 + 5);
  folder.writeFile("a.jpg", content);
  platform::OpenedImage opened = platform::systemImageFiles().open(folder.at("a.jpg"), {});
  ASSERT_NE(opened.file, nullptr);
  EXPECT_EQ(opened.file->size(), content.size());
  for (std::uint64_t offset : {0u, 1u, 4095u, 65536u, 196600u}) {
    EXPECT_EQ(readAt(*opened.file, offset, 5), content.substr(offset, 5)) << offset;
  }
  EXPECT_EQ(readAt(*opened.file, content.size() - 3, 3), content.substr(content.size() - 3));
  EXPECT_EQ(readAt(*opened.file, content.size() - 3, 4), "(failed)");
}

TEST(SystemImageFiles, SaysWhyAFileCannotBeOpened) {
  TempFolder folder;
  folder.makeFolder("folder.jpg");
  platform::ImageFiles& files = platform::systemImageFiles();
  EXPECT_EQ(files.open(folder.at("gone.jpg"), {}).failure, OpenFailure::missing);
  EXPECT_NE(files.open(folder.at("folder.jpg"), {}).failure, OpenFailure::none);
}

#ifndef _WIN32
TEST(SystemImageFiles, FileCutAfterTheOpenFailsToReadPastItsNewEnd) {
  TempFolder folder;
  folder.writeFile("a.jpg", patternOf(100000));
  platform::OpenedImage opened = platform::systemImageFiles().open(folder.at("a.jpg"), {});
  ASSERT_NE(opened.file, nullptr);
  fs::resize_file(folder.at("a.jpg"), 50000);
  // The end of the file is no interrupted read, whatever errno holds from before.
  errno = EINTR;
  EXPECT_EQ(readAt(*opened.file, 60000, 10), "(failed)");
  errno = EINTR;
  EXPECT_EQ(readAt(*opened.file, 49995, 10), "(failed)");
  EXPECT_EQ(readAt(*opened.file, 0, 10), patternOf(10));
}

// Links are typed by what they lead to; a link to nothing, whose stat fails, is of no
// type: neither a folder to list nor a file to open unasked. Several of each, so that
// no entry can pass for another by what an earlier one left behind.
TEST(ListFolder, LinksAreTypedByTheirTargetsAndDanglingOnesByNone) {
  TempFolder folder;
  folder.writeFile("target/file.jpg", "x");
  folder.makeFolder("list");
  std::map<std::string, std::pair<bool, bool>> expected;  // isFolder, regularFile
  for (int i = 0; i < 8; ++i) {
    const std::string n = std::to_string(i);
    fs::create_directory_symlink(folder.path() / "target", folder.path() / "list" / ("folder" + n));
    fs::create_symlink(folder.path() / "target" / "file.jpg", folder.path() / "list" / ("file" + n));
    fs::create_symlink(folder.path() / "gone", folder.path() / "list" / ("dangling" + n));
    expected["folder" + n] = {true, false};
    expected["file" + n] = {false, true};
    expected["dangling" + n] = {false, false};
  }
  platform::FolderListing listing;
  ASSERT_TRUE(platform::listFolder(folder.at("list"), {}, listing));
  std::map<std::string, std::pair<bool, bool>> listed;
  for (const platform::FolderEntry& entry : listing.entries) {
    if (entry.name != "." && entry.name != "..") {
      listed[entry.name] = {entry.isFolder, entry.path.regularFile};
    }
  }
  EXPECT_EQ(listed, expected);
}

// A FIFO is never opened: an open would release a writer that waits for a reader, and
// what it writes would be lost.
TEST(SystemImageFiles, FifoIsNotOpenedSoItsWriterKeepsWaiting) {
  TempFolder folder;
  const std::string fifo = folder.at("fifo.jpg");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  auto writer = std::async(std::launch::async, [&] {
    const int fd = open(fifo.c_str(), O_WRONLY);  // waits for a reader
    if (fd >= 0) close(fd);
    return fd >= 0;
  });
  EXPECT_EQ(platform::systemImageFiles().open(fifo, {}).failure, OpenFailure::notRegularFile);
  EXPECT_EQ(writer.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  // Listed as a regular file, and a FIFO by the time it is opened: refused at once,
  // without waiting for a writer, and without releasing the one that waits.
  platform::NativePath listedRegular;
  listedRegular.regularFile = true;
  EXPECT_EQ(platform::systemImageFiles().open(fifo, listedRegular).failure,
            OpenFailure::notRegularFile);
  EXPECT_EQ(writer.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);  // lets the writer go
  EXPECT_TRUE(writer.get());
  close(reader);
}

// Deep survey trees with long folder names: a path longer than PATH_MAX is opened too.
// The tree is made folder by folder, as no call takes its whole path.
TEST(SystemImageFiles, PathLongerThanPathMaxIsOpened) {
  TempFolder folder;
  std::string path = folder.path().string();
  int parent = open(path.c_str(), O_RDONLY | O_DIRECTORY);
  const std::string name(200, 'd');
  while (path.size() <= PATH_MAX) {
    ASSERT_EQ(mkdirat(parent, name.c_str(), 0755), 0);
    const int child = openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY);
    close(parent);
    parent = child;
    path += "/" + name;
  }
  const int file = openat(parent, "a.jpg", O_WRONLY | O_CREAT, 0644);
  ASSERT_EQ(write(file, "bytes", 5), 5);
  close(file);
  close(parent);
  path += "/a.jpg";
  platform::OpenedImage opened = platform::systemImageFiles().open(path, {});
  ASSERT_NE(opened.file, nullptr);
  EXPECT_EQ(readAt(*opened.file, 0, 5), "bytes");
  EXPECT_EQ(platform::systemImageFiles().open(path + "x", {}).failure, OpenFailure::missing);
  // The temporary folder goes away with the test; its remover does not take such depth.
  std::string remover = "rm -rf " + folder.path().string() + "/" + name;
  EXPECT_EQ(std::system(remover.c_str()), 0);
}

std::atomic<int> leasedFile{-1};
void releaseLease(int) { fcntl(leasedFile.load(), F_SETLEASE, F_UNLCK); }

// A file under a write lease, as a share's kernel oplocks hold one: the open waits for
// the holder to let go, as any reader's would, instead of skipping the file. The holder
// is told by SIGIO and lets go at once.
TEST(SystemImageFiles, FileUnderALeaseIsOpenedOnceTheLeaseIsReleased) {
  TempFolder folder;
  folder.writeFile("a.jpg", "bytes");
  const int fd = open(folder.at("a.jpg").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  leasedFile = fd;
  struct sigaction release = {};
  release.sa_handler = releaseLease;
  struct sigaction previous;
  sigaction(SIGIO, &release, &previous);
  // Whether or not the listing saw a regular file there, which opens it another way.
  for (const bool listedRegular : {false, true}) {
    if (fcntl(fd, F_SETLEASE, F_WRLCK) != 0) break;
    platform::NativePath native;
    native.regularFile = listedRegular;
    platform::OpenedImage opened = platform::systemImageFiles().open(folder.at("a.jpg"), native);
    ASSERT_NE(opened.file, nullptr) << listedRegular;
    EXPECT_EQ(readAt(*opened.file, 0, 5), "bytes");
  }
  close(fd);
  sigaction(SIGIO, &previous, nullptr);
}
#endif

}  // namespace
