#include "checks/image_groups.h"

#include <gtest/gtest.h>

#include "checks/image_checker.h"
#include "common/messages.h"

namespace {

// Groups named by key, each holding `size` paths "<key>-<n>.jpg" below a folder.
ImageGroups groupsOf(const std::vector<std::pair<std::string, int>>& sizes) {
  ImageGroups groups;
  for (const auto& [key, size] : sizes) {
    for (int i = 1; i <= size; ++i) groups[key].push_back("d/" + key + "-" + std::to_string(i) + ".jpg");
  }
  return groups;
}

std::vector<std::string> offendingOf(const std::vector<std::pair<std::string, int>>& sizes,
                                     bool* flag) {
  std::vector<std::string> list;
  *flag = false;
  testing::internal::CaptureStdout();
  reportInconsistentGroups(groupsOf(sizes), list, *flag);
  testing::internal::GetCapturedStdout();
  return list;
}

TEST(ReportInconsistentGroups, EverythingOutsideTheLargestGroupIsReported) {
  struct Case {
    std::vector<std::pair<std::string, int>> sizes;
    std::vector<std::string> offending;
  };
  const Case cases[] = {
      {{}, {}},
      {{{"a", 3}}, {}},
      {{{"a", 7}, {"b", 3}}, {"d/b-1.jpg", "d/b-2.jpg", "d/b-3.jpg"}},
      {{{"a", 3}, {"b", 7}}, {"d/a-1.jpg", "d/a-2.jpg", "d/a-3.jpg"}},
      {{{"a", 2}, {"b", 2}}, {"d/b-1.jpg", "d/b-2.jpg"}},  // equal: the later key stands out
      {{{"a", 1}, {"b", 5}, {"c", 1}}, {"d/a-1.jpg", "d/c-1.jpg"}},
      {{{"a", 2}, {"b", 1}, {"c", 2}}, {"d/b-1.jpg", "d/c-1.jpg", "d/c-2.jpg"}},
  };
  for (const Case& c : cases) {
    bool flag = true;
    std::vector<std::string> expected;
    for (const std::string& path : c.offending) expected.push_back(ImageChecker::fileNameOf(path));
    EXPECT_EQ(offendingOf(c.sizes, &flag), expected);
    EXPECT_EQ(flag, !expected.empty());
  }
}

TEST(ReportInconsistentGroups, ListsEveryGroupThenOneBlock) {
  std::vector<std::string> list;
  bool flag = false;
  testing::internal::CaptureStdout();
  reportInconsistentGroups(groupsOf({{"a", 1}, {"b", 3}, {"c", 1}}), list, flag);
  const std::string count = messages::kOffendingCount;
  const std::string number =
      messages::kOffendingNumber + std::string(messages::kOffendingNumberArrow);
  const std::string name = messages::kOffendingName + std::string(messages::kOffendingNameArrow);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "a\n1\n\nb\n3\n\nc\n1\n\n" + count + "2\n" + number + "1\n" + name + "a-1.jpg\n" +
                number + "2\n" + name + "c-1.jpg\n");
}

TEST(ReportInconsistentGroups, NoGroupWritesAnEmptyBlock) {
  std::vector<std::string> list;
  bool flag = false;
  testing::internal::CaptureStdout();
  reportInconsistentGroups({}, list, flag);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            std::string(messages::kOffendingCount) + "0\n");
  EXPECT_FALSE(flag);
}

}  // namespace
