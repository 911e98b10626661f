#include "config/config_check.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A configuration whose keys sort as written, the folders as given; `more` follows.
std::string configOf(const std::string& focal, const std::string& gps, const std::string& make,
                     const std::string& resolution, const std::string& input,
                     const std::string& output, const std::string& more = "") {
  return "1focal=" + focal + "\n2gps=" + gps + "\n3make=" + make + "\n4resolution=" +
         resolution + "\n5input=" + input + "\n6output=" + output + "\n" + more;
}

// What looks wrong in `text`, where only the folder "images" exists.
ConfigDiagnoses diagnoses(const std::string& text) {
  return diagnoseConfig(ConfigEntries(text),
                        [](const std::string& path) { return path == "images"; });
}

std::vector<ConfigDiagnostic> diagnose(const std::string& text) { return diagnoses(text).listed; }

TEST(ConfigCheck, SoundConfigurationsGiveNothing) {
  EXPECT_TRUE(diagnose(configOf("true", "true", "true", "true", "images", "check")).empty());
  // Off is a choice: any value that does not look meant as on.
  EXPECT_TRUE(diagnose(configOf("false", "", "no", "0", "images", "missing/yet")).empty());
}

TEST(ConfigCheck, SwitchesThatLookMeantAsOnAreNamedAndStopTheRun) {
  for (const std::string value : {"True", "TRUE", "yes", "Y", "on", "ON", "1", "enabled",
                                  "\"true\"", "'True'", "true\v", "\f TRUE", "\xC2\xA0true",
                                  "\" true \""}) {
    SCOPED_TRACE(value);
    const std::vector<ConfigDiagnostic> found =
        diagnose(configOf("true", value, "true", "true", "images", "check"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].key, "2gps");
    EXPECT_EQ(found[0].value, value);
    EXPECT_EQ(found[0].meaning,
              "only exactly \"true\" switches a check on, and this looks meant as on: write true "
              "to run the GPS check or false to leave it off; the run stops here, with exit code "
              "2");
    EXPECT_TRUE(found[0].stopsRun);
  }
}

// What keys sorted in an order that was not meant leave: a byte-order mark moves the
// first key last, and the other values one place up.
TEST(ConfigCheck, ByteOrderMarkAndValuesOutOfPlaceAreNamed) {
  std::string entries = configOf("true", "true", "true", "true", "/data/images", "check");
  entries.insert(0, "\xEF\xBB\xBF");
  std::vector<std::pair<std::string, std::string>> named;
  for (const ConfigDiagnostic& d : diagnose(entries)) named.push_back({d.key, d.meaning});
  const std::vector<std::pair<std::string, std::string>> expected{
      {"5input",
       "a folder in the place of the resolution check: the keys may not sort in the order "
       "meant, and the check does not run"},
      {"6output", "the input folder does not exist: no file is found, and a run reports 105"},
      {"\xEF\xBB\xBF"
       "1focal",
       "the key starts with a byte-order mark (bytes EF BB BF, as some editors save), which "
       "sorts it after every key that starts with ASCII: its value is taken as the output "
       "folder"},
      {"\xEF\xBB\xBF"
       "1focal",
       "a switch value in the place of the output folder: the keys may not sort in the order "
       "meant, and a folder of this name is used"},
  };
  EXPECT_EQ(named, expected);
}

TEST(ConfigCheck, FoldersThatCannotBeMeantAreNamed) {
  const std::pair<std::string, std::string> cases[] = {
      {configOf("true", "true", "true", "true", "photos", "check"),
       "the input folder does not exist: no file is found, and a run reports 105"},
      {configOf("true", "true", "true", "true", "\"images\"", "check"),
       "the quotes are part of the folder's name, which is used as written"},
      {configOf("true", "true", "true", "true", "images", "false"),
       "a switch value in the place of the output folder: the keys may not sort in the order "
       "meant, and a folder of this name is used"},
  };
  for (const auto& [entries, meaning] : cases) {
    const std::vector<ConfigDiagnostic> found = diagnose(entries);
    ASSERT_EQ(found.size(), 1u) << meaning;
    EXPECT_EQ(found[0].meaning, meaning);
  }
}

TEST(ConfigCheck, KeysPastTheSixthAreNotUsed) {
  const std::vector<ConfigDiagnostic> found =
      diagnose(configOf("true", "true", "true", "true", "images", "check", "7extra=x\n"));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].key, "7extra");
  EXPECT_EQ(settingAt(6), nullptr);
  EXPECT_STREQ(settingAt(5)->name, "output folder");
}

// Millions of keys give ten lines of a kind and a count, and long values are cut.
TEST(ConfigCheck, DiagnosticsOfAKindAreBoundedAndLongTextsCut) {
  std::string extra;
  for (int key = 0; key < 25; ++key) extra += "7extra" + std::to_string(100 + key) + "=x\n";
  extra += "7long=" + std::string(1000, 'v') + "\n";
  const ConfigDiagnoses found =
      diagnoses(configOf("true", "true", "true", "true", "images", "check", extra));
  ASSERT_EQ(found.listed.size(), kDiagnosticsPerProblem);
  EXPECT_EQ(found.listed.back().key, "7extra109");
  ASSERT_EQ(found.unlisted.size(), 1u);
  EXPECT_EQ(found.unlisted[0].count, 16u);
  EXPECT_STREQ(found.unlisted[0].what, "keys past the sixth, whose values no setting takes");

  const std::vector<ConfigDiagnostic> cut =
      diagnose(configOf("true", "true", "true", "true", "images", "check", extra.substr(extra.find("7long"))));
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].value, std::string(256, 'v') + " ...");
}

}  // namespace
