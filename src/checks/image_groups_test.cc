#include "checks/image_groups.h"

#include <gtest/gtest.h>

#include "common/messages.h"
#include "record_list.h"
#include "recording_console.h"

namespace {

// Groups named by key, each holding `size` images "d/<key>-<n>.jpg".
struct Grouped {
  RecordList images;
  ImageGroups groups;

  explicit Grouped(const std::vector<std::pair<std::string, int>>& sizes) {
    for (const auto& [key, size] : sizes) {
      for (int i = 1; i <= size; ++i) {
        groups[key].push_back(images.size());
        images.add("d/" + key + "-" + std::to_string(i) + ".jpg", ImageRecord{});
      }
    }
  }

  // The names of the images reported, and what was printed.
  std::vector<std::string> reportInconsistent(std::string* printed = nullptr) {
    RecordingConsole console;
    CheckRun run{images, console, {}};
    reportInconsistentGroups(run, groups);
    if (printed != nullptr) *printed = console.text;
    std::vector<std::string> names;
    for (std::size_t index : run.offending) names.push_back(images.path(index));
    return names;
  }
};

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
  for (const Case& c : cases) EXPECT_EQ(Grouped(c.sizes).reportInconsistent(), c.offending);
}

TEST(ReportInconsistentGroups, ListsEveryGroupThenOneBlock) {
  std::string printed;
  Grouped({{"a", 1}, {"b", 3}, {"c", 1}}).reportInconsistent(&printed);
  const std::string count = messages::kOffendingCount;
  const std::string number =
      messages::kOffendingNumber + std::string(messages::kOffendingNumberArrow);
  const std::string name = messages::kOffendingName + std::string(messages::kOffendingNameArrow);
  EXPECT_EQ(printed, "a\n1\n\nb\n3\n\nc\n1\n\n" + count + "2\n" + number + "1\n" + name +
                         "a-1.jpg\n" + number + "2\n" + name + "c-1.jpg\n");
}

TEST(ReportInconsistentGroups, NoGroupWritesAnEmptyBlock) {
  std::string printed;
  EXPECT_TRUE(Grouped({}).reportInconsistent(&printed).empty());
  EXPECT_EQ(printed, std::string(messages::kOffendingCount) + "0\n");
}

}  // namespace
