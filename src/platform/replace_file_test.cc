#ifdef _WIN32
#include <process.h>
#else
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/platform.h"
#include "platform/temporary_name.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

int processId() {
#ifdef _WIN32
  return _getpid();
#else
  return getpid();
#endif
}

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& item : fs::directory_iterator(folder)) {
    names.insert(item.path().filename().string());
  }
  return names;
}

// Another user who can write to the output folder plants files under every name a
// temporary file could take if it were made from the process id and a count. The
// report must still be written, and the planted files stay as they are.
TEST(ReplaceFile, FilesPlantedUnderPredictableNamesNeitherStopItNorAreTouched) {
  TempFolder folder;
  const std::string pid = std::to_string(processId());
  std::set<std::string> planted = {"report.json.tmp" + pid};
  for (int count = 0; count < 100; ++count) {
    planted.insert("report.json.tmp" + pid + "-" + std::to_string(count));
  }
  for (const std::string& name : planted) folder.writeFile(name, "planted");
  ASSERT_TRUE(platform::replaceFile(folder.at("report.json"), "{\"errors\":[]}"));
  EXPECT_EQ(readFileBytes(folder.at("report.json")), "{\"errors\":[]}");
  std::set<std::string> expected = planted;
  expected.insert("report.json");
  EXPECT_EQ(namesIn(folder.path()), expected);
  for (const std::string& name : planted) EXPECT_EQ(readFileBytes(folder.at(name)), "planted");
}

TEST(ReplaceFile, BytesArriveExactlyAndNothingIsLeftBeside) {
  TempFolder folder;
  folder.writeFile("report.json", "an earlier, longer report");
  const std::string bytes("line\nend\r\n\0\x1a", 12);
  ASSERT_TRUE(platform::replaceFile(folder.at("report.json"), bytes));
  EXPECT_EQ(readFileBytes(folder.at("report.json")), bytes);
  EXPECT_EQ(namesIn(folder.path()), std::set<std::string>{"report.json"});
}

#ifndef _WIN32
// A temporary file that cannot be created fails the replacement and writes nowhere:
// not into descriptor 0, which a failure taken for a descriptor would be. Descriptor 0
// is a file of the test's for the time.
TEST(ReplaceFile, TemporaryThatCannotBeCreatedFailsAndWritesNowhere) {
  TempFolder folder;
  folder.writeFile("file", "x");
  const std::string cases[] = {
      folder.at("missing/report.json"),
      folder.at("file/report.json"),
      folder.at(std::string(PATH_MAX - 20, 'r')),  // its temporary's name is too long
  };
  folder.writeFile("stdin", "");
  const int standardInput = dup(0);
  ASSERT_GE(standardInput, 0);
  const int stand = open(folder.at("stdin").c_str(), O_RDWR);
  ASSERT_GE(stand, 0);
  ASSERT_EQ(dup2(stand, 0), 0);
  for (const std::string& path : cases) {
    SCOPED_TRACE(path.substr(0, 80));
    EXPECT_FALSE(platform::replaceFile(path, "{\"errors\":[]}"));
    struct stat info;
    EXPECT_EQ(fstat(0, &info), 0) << "descriptor 0 closed";
  }
  dup2(standardInput, 0);
  close(standardInput);
  close(stand);
  EXPECT_EQ(readFileBytes(folder.at("stdin")), "");
  EXPECT_EQ(namesIn(folder.path()), (std::set<std::string>{"file", "stdin"}));
}
#endif

// Every name a temporary file is given is known as one, whatever the random number, so
// the scan never takes it for an image.
TEST(IsTemporaryName, KnowsEveryNameTheReplacementGives) {
  for (const std::uint64_t random : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{0xF} << 60,
                                     ~std::uint64_t{0}, std::uint64_t{0x0123456789abcdef}}) {
    const std::string name = platform::temporaryNameFor("error.json", random);
    EXPECT_TRUE(platform::isTemporaryName(name, "error.json")) << name;
    EXPECT_FALSE(platform::isTemporaryName(name, "error.jso")) << name;
  }
}

TEST(IsTemporaryName, OnlyTheFilesNameAndSixteenLowerCaseHexDigits) {
  const std::pair<const char*, bool> cases[] = {
      {"error.json.tmp-0123456789abcdef", true},
      {"error.json.tmp-ffffffffffffffff", true},
      {"error.json.tmp-0123456789ABCDEF", false},
      {"error.json.tmp-0123456789abcde", false},
      {"error.json.tmp-0123456789abcdef0", false},
      {"error.json.tmp-0123456789abcdeg", false},
      {"error.jsOn.tmp-0123456789abcdef", false},
      {"error.json-tmp-0123456789abcdef", false},
      {"other.json.tmp-0123456789abcdef", false},
      {"error.json.tmp1234-0", false},
      {"error.json", false},
  };
  for (const auto& [name, temporary] : cases) {
    EXPECT_EQ(platform::isTemporaryName(name, "error.json"), temporary) << name;
  }
}

}  // namespace
