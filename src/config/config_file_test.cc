#include "config/config_file.h"

#include <gtest/gtest.h>

#include "recording_console.h"
#include "temp_folder.h"

namespace {

struct LineCase {
  const char* line;
  bool yields;
  const char* key;
  const char* value;
};

TEST(ParseConfigLine, TableOfLines) {
  const LineCase cases[] = {
      {"  key  =  some value  ", true, "key", "some value"},
      {"key=", true, "key", ""},
      {"a=", true, "a", ""},
      {"=value", false, "", ""},
      {"key=a=b", true, "key", "a=b"},
      {"key=value#note", true, "key", "value"},
      {"key=#note", true, "key", ""},
      {"#key=value", false, "", ""},
      {"   #key=value", false, "", ""},
      {"key#=value", false, "", ""},
      {"key value", false, "", ""},
      {"", false, "", ""},
      {"\tkey\t=\tvalue\t", true, "key", "value"},
      {" \t = value", false, "", ""},
      {"in ner = two  words ", true, "in ner", "two  words"},
      {"k=\"true\"", true, "k", "\"true\""},
      {"k=\r", true, "k", "\r"},  // only a CR before the line feed is part of the break
  };
  for (const LineCase& c : cases) {
    std::string_view key = "stale";
    std::string_view value = "stale";
    ASSERT_EQ(parseConfigLine(c.line, key, value), c.yields) << "line |" << c.line << "|";
    if (c.yields) {
      EXPECT_EQ(key, c.key) << "line |" << c.line << "|";
      EXPECT_EQ(value, c.value) << "line |" << c.line << "|";
    }
  }
}

TEST(TrimBlanks, RemovesOnlySpacesAndTabsAtTheEnds) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},         {" \t \t", ""},   {"x", "x"},       {" x ", "x"},
      {"\tx y\t", "x y"}, {"\nx\n", "\nx\n"}, {"\xa1\xa1x", "\xa1\xa1x"},
  };
  for (const auto& [input, expected] : cases) {
    EXPECT_EQ(trimBlanks(input), expected) << "input |" << input << "|";
  }
}

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries entriesOf(const ConfigEntries& entries) {
  Entries pairs;
  for (const ConfigEntry& entry : entries) pairs.emplace_back(entry.key, entry.value);
  return pairs;
}

// The entries a configuration file of `bytes` gives, whatever their number.
Entries readFrom(const std::string& bytes) {
  TempFolder folder;
  folder.writeFile("task.cfg", bytes);
  std::ifstream stream;
  RecordingConsole console;
  const LoadedConfig loaded = loadTaskConfig(folder.at("task.cfg"), stream, console);
  EXPECT_NE(loaded.status, ConfigStatus::notOpenable);
  return entriesOf(loaded.entries);
}

TEST(ReadConfigFile, CrLfReadsLikeLf) {
  const std::string lf = "1a=true\n2b = x y \n#c=z\n\n3c=last";
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const Entries expected{{"1a", "true"}, {"2b", "x y"}, {"3c", "last"}};
  EXPECT_EQ(readFrom(lf), expected);
  EXPECT_EQ(readFrom(crlf), expected);
}

TEST(ReadConfigFile, EmptyFileGivesEmptyMap) { EXPECT_TRUE(readFrom("").empty()); }

TEST(ReadConfigFile, LastLineOfAKeyWins) {
  EXPECT_EQ(readFrom("k=first\nj=1\nk=second\nk=third\nj=2\n"),
            (Entries{{"j", "2"}, {"k", "third"}}));
  EXPECT_EQ(readFrom("k=\r\nk=last\r"), (Entries{{"k", "last\r"}}));
}

TEST(ReadConfigFile, ByteOrderMarkStaysInTheFirstKey) {
  const Entries entries = readFrom("\xEF\xBB\xBF" "a=1\nb=2\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries.front().first, "b");
  EXPECT_EQ(entries.back().first, "\xEF\xBB\xBF" "a");
}

TEST(ReadConfigFile, BinaryBytesDoNotStopTheReading) {
  std::string bytes("\0\xff\x01=\x02\n", 6);
  bytes += "key=value";
  EXPECT_EQ(readFrom(bytes), (Entries{{std::string("\0\xff\x01", 3), "\x02"}, {"key", "value"}}));
}

// Keys sorted byte by byte bind the values: "10" before "9", upper case before lower
// case, GBK after ASCII; a seventh key is echoed but binds nothing. The file the
// settings came from is still open.
TEST(LoadTaskConfig, BindsTheSettingsByTheByteOrderOfTheKeys) {
  TempFolder folder;
  folder.writeFile("task.cfg", "\xb5\xda=unused\na=in\nb=out\n9=gps\n10=focal\nB=make\nC=res\n");
  std::ifstream stream;
  RecordingConsole console;
  const LoadedConfig loaded = loadTaskConfig(folder.at("task.cfg"), stream, console);
  ASSERT_EQ(loaded.status, ConfigStatus::ready);
  EXPECT_EQ(console.text, "10=focal\n9=gps\nB=make\nC=res\na=in\nb=out\n\xb5\xda=unused\n");
  EXPECT_EQ(loaded.settings.focalLengthSwitch, "focal");
  EXPECT_EQ(loaded.settings.gpsSwitch, "gps");
  EXPECT_EQ(loaded.settings.cameraMakeSwitch, "make");
  EXPECT_EQ(loaded.settings.resolutionSwitch, "res");
  EXPECT_EQ(loaded.settings.inputFolder, "in");
  EXPECT_EQ(loaded.settings.outputFolder, "out");
  EXPECT_EQ(loaded.entries.size(), 7u);
  EXPECT_TRUE(stream.is_open());
}

TEST(LoadTaskConfig, FewerThanSixKeysBindNothing) {
  TempFolder folder;
  folder.writeFile("task.cfg", "a=1\nb=2\nb=3\nc=4\nd=5\ne=6\n");
  std::ifstream stream;
  RecordingConsole console;
  const LoadedConfig loaded = loadTaskConfig(folder.at("task.cfg"), stream, console);
  EXPECT_EQ(loaded.status, ConfigStatus::tooFewValues);
  EXPECT_EQ(console.text, "a=1\nb=3\nc=4\nd=5\ne=6\n");
  EXPECT_EQ(loaded.entries.size(), 5u);
  EXPECT_EQ(loaded.settings.inputFolder, " ");
}

// A folder would open on Linux and read as an empty file; it is refused like a missing
// file, with nothing echoed.
TEST(LoadTaskConfig, MissingFileOrFolderCannotBeOpened) {
  TempFolder folder;
  folder.makeFolder("folder.cfg");
  for (const std::string& path : {folder.at("missing.cfg"), folder.at("folder.cfg")}) {
    std::ifstream stream;
    RecordingConsole console;
    const LoadedConfig loaded = loadTaskConfig(path, stream, console);
    EXPECT_EQ(loaded.status, ConfigStatus::notOpenable) << path;
    EXPECT_EQ(console.text, "");
    EXPECT_TRUE(loaded.entries.empty());
  }
}

TEST(EchoConfigEntries, EntriesFollowTheByteOrderOfTheKeys) {
  const ConfigEntries entries("a=lower\nB=upper\n9=nine\n10=ten\n\xb5\xda=gbk\nk=\n");
  RecordingConsole console;
  echoConfigEntries(entries, console);
  EXPECT_EQ(console.text, "10=ten\n9=nine\nB=upper\na=lower\nk=\n\xb5\xda=gbk\n");
}

}  // namespace
