#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/platform.h"
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
