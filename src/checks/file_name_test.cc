#include <gtest/gtest.h>

#include "checks/file_name.h"

namespace {

TEST(FileNameOf, TakesTheTextBehindTheLastSeparatorOfEitherKind) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"a.JPG", "a.JPG"},
      {"D:/batch/day2/b.jpg", "b.jpg"},
      {"D:\\batch/day2\\c.jpg", "c.jpg"},
      {"/data/x/", ""},
      {"D:\\batch\\", ""},
      {"d/\xb1\x5c" "b.jpg", "b.jpg"},  // a GBK trail byte 0x5C cuts the name too
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(fileNameOf(path), name) << path;
}

}  // namespace
