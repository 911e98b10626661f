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
    std::string key = "stale";
    std::string value = "stale";
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
    std::string text = input;
    trimBlanks(text);
    EXPECT_EQ(text, expected) << "input |" << input << "|";
  }
}

ConfigMap readFrom(const std::string& bytes) {
  TempFolder folder;
  folder.writeFile("task.cfg", bytes);
  ConfigMap map{{"left", "over"}};
  RecordingConsole console;
  EXPECT_TRUE(readConfigFile(folder.at("task.cfg"), map, console));
  return map;
}

TEST(ReadConfigFile, CrLfReadsLikeLf) {
  const std::string lf = "1a=true\n2b = x y \n#c=z\n\n3c=last";
  std::string crlf;
  for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  ConfigMap expected{{"1a", "true"}, {"2b", "x y"}, {"3c", "last"}};
  EXPECT_EQ(readFrom(lf), expected);
  EXPECT_EQ(readFrom(crlf), expected);
}

TEST(ReadConfigFile, EmptyFileGivesEmptyMap) { EXPECT_TRUE(readFrom("").empty()); }

TEST(ReadConfigFile, LastLineOfAKeyWins) {
  EXPECT_EQ(readFrom("k=first\nk=second\n"), (ConfigMap{{"k", "second"}}));
}

TEST(ReadConfigFile, ByteOrderMarkStaysInTheFirstKey) {
  ConfigMap map = readFrom("\xEF\xBB\xBF" "a=1\nb=2\n");
  ASSERT_EQ(map.size(), 2u);
  EXPECT_EQ(map.begin()->first, "b");
  EXPECT_EQ(map.rbegin()->first, "\xEF\xBB\xBF" "a");
}

TEST(ReadConfigFile, BinaryBytesDoNotStopTheReading) {
  std::string bytes("\0\xff\x01=\x02\n", 6);
  bytes += "key=value";
  ConfigMap map = readFrom(bytes);
  EXPECT_EQ(map.at("key"), "value");
}

TEST(ReadConfigFile, MissingFileIsReportedAndEmptiesTheMap) {
  TempFolder folder;
  ConfigMap map{{"left", "over"}};
  RecordingConsole console;
  EXPECT_FALSE(readConfigFile(folder.at("missing.cfg"), map, console));
  EXPECT_EQ(console.text, "file open error\n");
  EXPECT_TRUE(map.empty());
}

TEST(ReadConfigFile, FolderGivesEmptyMap) {
  TempFolder folder;
  ConfigMap map;
  RecordingConsole console;
  readConfigFile(folder.path().string(), map, console);
  EXPECT_TRUE(map.empty());
}

TEST(ListConfigValues, ValuesFollowTheByteOrderOfTheKeys) {
  ConfigMap map{{"a", "lower"}, {"B", "upper"}, {"9", "nine"}, {"10", "ten"},
                {"\xb5\xda", "gbk"}, {"k", ""}};
  std::vector<std::string> values;
  RecordingConsole console;
  listConfigValues(map, values, console);
  EXPECT_EQ(console.text,
            "10=ten\n9=nine\nB=upper\na=lower\nk=\n\xb5\xda=gbk\n");
  EXPECT_EQ(values, (std::vector<std::string>{"ten", "nine", "upper", "lower", "", "gbk"}));
}

}  // namespace
