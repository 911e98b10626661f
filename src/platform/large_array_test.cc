#include "platform/large_array.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::uint64_t kStep = 2654435761;

// A vector that grows past the threshold takes both kinds of memory and gives each back
// its own way; every element keeps its value through the moves.
TEST(LargeArray, GrowsThroughBothKindsOfMemoryAndKeepsEveryElement) {
  std::vector<std::uint64_t, platform::LargeArrayAllocator<std::uint64_t>> values;
  const std::size_t count = 3 * platform::kLargeArrayBytes / sizeof(std::uint64_t) + 7;
  for (std::size_t i = 0; i < count; ++i) values.push_back(i * kStep);
  for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(values[i], i * kStep) << i;
#ifndef _WIN32
  // Only a whole large page on its boundary is mapped as one.
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(values.data()) % (2 * 1024 * 1024), 0u);
#endif
  values.resize(10);
  values.shrink_to_fit();
  EXPECT_EQ(values[9], 9 * kStep);
}

}  // namespace
