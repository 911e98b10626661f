#ifndef _WIN32
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>

#include "recording_console.h"
#include "scan/image_scan.h"
#include "platform_conventions.h"
#include "temp_folder.h"

namespace {

// An output folder that does not exist: no file is the program's own.
const OwnFile kNoOwnFile{"no-such-folder", "error.json"};

// Scans `folder` and returns the list, with what the scan printed in `output`.
ImageList scan(const std::string& folder, std::string* output = nullptr,
               const std::vector<OwnFile>& own = {kNoOwnFile}) {
  RecordingConsole console;
  ImageList images = scanImageFolder(folder, own, console).paths;
  if (output != nullptr) *output = console.text;
  return images;
}

// `folder` joined with each of `relatives`, whose "/" stand for the platform's separator.
ImageList pathsBelow(const std::string& folder, const std::vector<std::string>& relatives) {
  ImageList paths;
  for (std::string relative : relatives) {
    for (char& c : relative) {
      if (c == '/') c = kPathSeparator;
    }
    paths.push_back(folder + kPathSeparator + relative);
  }
  return paths;
}

// Ignored files are left out as if absent, matched on their path below the input folder
// with "/" on every platform; folders are still walked for the files they hold.
TEST(ScanImageFolder, IgnoredFilesAreLeftOutAtTheirDepth) {
  TempFolder root;
  root.writeFile("a.jpg", "x");
  root.writeFile("a_Timestamp.MRK", "x");
  root.writeFile("day1/b.jpg", "x");
  root.writeFile("day1/b_Rinex.obs", "x");
  root.writeFile("day1/Thumbs.db", "x");
  root.writeFile("Thumbs.db", "x");
  const std::string d = root.path().string();
  RecordingConsole console;
  ImageList images =
      scanImageFolder(d, {kNoOwnFile}, console, {"**/*.MRK", "day1/*.obs", "Thumbs.db"}).paths;
  // Which files stay, not their order: the order differs between the platforms and has
  // its own test.
  ImageList expected = pathsBelow(d, {"a.jpg", "day1/Thumbs.db", "day1/b.jpg"});
  std::sort(images.begin(), images.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(images, expected);
}

// Linux lists a folder in no stable order, so the scan sorts by bytes there; Windows
// (and Wine) lists case-insensitively, upper-case folded as NTFS does, and the scan
// keeps that order. The names are chosen so that the two orders differ.
TEST(ScanImageFolder, ListsEveryFileDepthFirstInThePlatformsOrder) {
  TempFolder root;
  root.writeFile("b.jpg", "x");
  root.writeFile("C.JPG", "x");
  root.writeFile("_under.jpg", "x");
  root.writeFile("a/z.jpg", "x");
  root.writeFile("a/deeper/y.jpg", "x");
  root.writeFile(".hidden", "");
  root.writeFile(".data/notes.txt", "text");
  root.writeFile("noextension", "x");
  root.makeFolder("empty");
  const std::string d = root.path().string();
#ifdef _WIN32
  const ImageList expected = pathsBelow(d, {".data/notes.txt", ".hidden", "a/deeper/y.jpg",
                                            "a/z.jpg", "b.jpg", "C.JPG", "noextension",
                                            "_under.jpg"});
#else
  const ImageList expected = pathsBelow(d, {".data/notes.txt", ".hidden", "C.JPG", "_under.jpg",
                                            "a/deeper/y.jpg", "a/z.jpg", "b.jpg", "noextension"});
#endif
  std::string printed;
  EXPECT_EQ(scan(d, &printed), expected);
  EXPECT_EQ(printed, "");
}

TEST(ScanImageFolder, FolderValueIsUsedAsWritten) {
  TempFolder root;
  root.writeFile("x/a.jpg", "x");
  const std::string d = root.path().string();
  const std::string x = d + kPathSeparator + "x";
  EXPECT_EQ(scan(x + kPathSeparator), ImageList{x + kPathSeparator + kPathSeparator + "a.jpg"});
#ifdef _WIN32
  // Windows also takes forward slashes; they stay as they are.
  EXPECT_EQ(scan(d + "/x"), ImageList{d + "/x\\a.jpg"});
#endif
}

TEST(ScanImageFolder, SameNameInTwoSubfoldersGivesTwoEntries) {
  TempFolder root;
  root.writeFile("day1/a.jpg", "x");
  root.writeFile("day2/a.jpg", "x");
  const std::string d = root.path().string();
  EXPECT_EQ(scan(d), pathsBelow(d, {"day1/a.jpg", "day2/a.jpg"}));
}

TEST(ScanImageFolder, EmptyFolderGivesEmptyListAndNoMessage) {
  TempFolder root;
  std::string printed;
  EXPECT_TRUE(scan(root.path().string(), &printed).empty());
  EXPECT_EQ(printed, "");
}

TEST(ScanImageFolder, MissingFolderOrPlainFileIsReportedOnce) {
  TempFolder root;
  root.writeFile("file.jpg", "x");
  for (const std::string& folder : {root.at("missing"), root.at("file.jpg")}) {
    std::string printed;
    EXPECT_TRUE(scan(folder, &printed).empty());
    EXPECT_EQ(printed, "can not found the file ... \n");
  }
}

TEST(ScanImageFolder, UnlistableSubfolderIsLeftOutAndTheScanGoesOn) {
#ifdef _WIN32
  GTEST_SKIP() << "denying the listing of a folder takes an ACL, which std::filesystem cannot set";
#else
  if (geteuid() == 0) GTEST_SKIP() << "root can list any folder";
#endif
  TempFolder root;
  root.writeFile("a/locked/x.jpg", "x");
  root.writeFile("b.jpg", "x");
  std::filesystem::permissions(root.path() / "a" / "locked", std::filesystem::perms::none);
  const std::string d = root.path().string();
  std::string printed;
  EXPECT_EQ(scan(d, &printed), pathsBelow(d, {"b.jpg"}));
  EXPECT_EQ(printed, "can not found the file ... \n");
}

TEST(ScanImageFolder, LinksAreFollowedButNeverBackIntoAnAncestor) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links need a privilege on Windows that a test run may not hold";
#endif
  TempFolder root;
  root.writeFile("batch/a.jpg", "x");
  root.writeFile("other/o.jpg", "x");
  std::filesystem::create_directory_symlink(root.path() / "batch", root.path() / "batch" / "loop");
  std::filesystem::create_directory_symlink(root.path() / "other", root.path() / "batch" / "more");
  std::filesystem::create_symlink(root.path() / "gone", root.path() / "batch" / "dangling");
  const std::string d = root.at("batch");
  EXPECT_EQ(scan(d), (ImageList{d + "/a.jpg", d + "/dangling", d + "/more/o.jpg"}));
}

// Without the record of listed folders, 24 levels of two links each would be listed
// 2^24 times: a hang, then memory exhausted.
TEST(ScanImageFolder, AFolderReachedThroughManyLinksIsListedOnce) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links need a privilege on Windows that a test run may not hold";
#endif
  TempFolder root;
  for (int level = 0; level < 24; ++level) {
    const std::string here = "level" + std::to_string(level);
    const std::string next = "level" + std::to_string(level + 1);
    root.writeFile(here + "/" + here + ".jpg", "x");
    std::filesystem::create_directory_symlink(root.path() / next, root.path() / here / "a");
    std::filesystem::create_directory_symlink(root.path() / next, root.path() / here / "b");
  }
  root.writeFile("level24/last.jpg", "x");
  const std::string d = root.at("level0");
  const ImageList images = scan(d);
  ASSERT_EQ(images.size(), 25u);
  std::string deepest = d;
  for (int level = 0; level < 24; ++level) deepest += "/a";
  EXPECT_EQ(images.front(), deepest + "/last.jpg");  // each folder from its first link
  EXPECT_EQ(images.back(), d + "/level0.jpg");
}

// The output folder below the input folder, or the input folder itself, however its
// path is spelled: the report there and its temporary files are the program's own. A
// file of that name elsewhere, and names that only look like temporary files, are not.
TEST(ScanImageFolder, TheReportAndItsTemporaryFilesInTheOutputFolderAreLeftOut) {
  TempFolder root;
  for (const char* name : {"a.jpg", "error.json", "check/error.json", "check/error.json.tmp-0123",
                           "check/error.json.tmp-0123456789abcdef", "sub/error.json"}) {
    root.writeFile(std::string("batch/") + name, "x");
  }
  const std::string d = root.at("batch");
  const std::string s(1, kPathSeparator);
  const ImageList butCheck =
      pathsBelow(d, {"a.jpg", "check/error.json.tmp-0123", "error.json", "sub/error.json"});
  const ImageList butBatch = pathsBelow(
      d, {"a.jpg", "check/error.json", "check/error.json.tmp-0123",
          "check/error.json.tmp-0123456789abcdef", "sub/error.json"});
  std::vector<std::pair<std::string, ImageList>> cases = {
      {d + s + "check", butCheck},
      {d + "/check", butCheck},
      {d + s + "." + s + "check" + s, butCheck},
      {d + s + "sub" + s + ".." + s + "check", butCheck},
      {d, butBatch},
  };
#ifndef _WIN32
  std::filesystem::create_directory_symlink(root.path() / "batch" / "check", root.path() / "link");
  cases.push_back({root.at("link"), butCheck});
#endif
  for (const auto& [outputFolder, expected] : cases) {
    EXPECT_EQ(scan(d, nullptr, {OwnFile{outputFolder, "error.json"}}), expected) << outputFolder;
  }
  // Several own files, each in its folder: the report, and a table asked for.
  EXPECT_EQ(scan(d, nullptr,
                 {OwnFile{d + s + "check", "error.json"}, OwnFile{d, "a.jpg"}}),
            pathsBelow(d, {"check/error.json.tmp-0123", "error.json", "sub/error.json"}));
}

#ifndef _WIN32
// A small file system of its own at `folder`, unmounted at the end of the test.
class ScratchMount {
 public:
  explicit ScratchMount(const std::string& folder) : folder_(folder) {
    mounted_ = mount("precheck-test", folder.c_str(), "tmpfs", 0, "size=256k") == 0;
  }
  ~ScratchMount() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  ScratchMount(const ScratchMount&) = delete;
  ScratchMount& operator=(const ScratchMount&) = delete;
  bool mounted() const { return mounted_; }

 private:
  std::string folder_;
  bool mounted_ = false;
};
#endif

// The roots of two file systems often have the same inode number; a folder is the same
// folder only on the same device.
TEST(ScanImageFolder, FoldersOnTwoFileSystemsWithTheSameIndexAreBothListed) {
#ifdef _WIN32
  GTEST_SKIP() << "mounting a volume is beyond a test here";
#else
  TempFolder root;
  root.makeFolder("disks/one");
  root.makeFolder("disks/two");
  const ScratchMount one(root.at("disks/one"));
  const ScratchMount two(root.at("disks/two"));
  if (!one.mounted() || !two.mounted()) GTEST_SKIP() << "mounting a tmpfs is not allowed here";
  struct stat first;
  struct stat second;
  ASSERT_EQ(stat(root.at("disks/one").c_str(), &first), 0);
  ASSERT_EQ(stat(root.at("disks/two").c_str(), &second), 0);
  if (first.st_ino != second.st_ino) GTEST_SKIP() << "these two file systems number apart";
  root.writeFile("disks/one/a.jpg", "x");
  root.writeFile("disks/two/b.jpg", "x");
  root.makeFolder("batch");
  for (const char* disk : {"one", "two"}) {
    std::filesystem::create_directory_symlink(root.path() / "disks" / disk,
                                              root.path() / "batch" / disk);
  }
  const std::string d = root.at("batch");
  EXPECT_EQ(scan(d), (ImageList{d + "/one/a.jpg", d + "/two/b.jpg"}));
#endif
}

}  // namespace
