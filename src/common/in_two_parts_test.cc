#include "common/in_two_parts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// Every item once, in parts that do not overlap, whatever the count and whether a second
// thread is worth it.
TEST(InTwoParts, CoversEveryItemOnce) {
  for (const std::size_t count : {0u, 1u, 9u, 10u, 11u, 1001u}) {
    std::vector<std::atomic<int>> seen(count);
    inTwoParts(count, 10, [&](std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) ++seen[i];
    });
    for (std::size_t i = 0; i < count; ++i) EXPECT_EQ(seen[i].load(), 1) << count << " " << i;
  }
}

// What either half throws reaches the caller, once both halves have ended.
TEST(InTwoParts, WhatAHalfThrowsReachesTheCaller) {
  for (const bool firstHalf : {true, false}) {
    std::atomic<int> ended{0};
    EXPECT_THROW(inTwoParts(100, 10,
                            [&](std::size_t begin, std::size_t end) {
                              ++ended;
                              if (firstHalf ? begin == 0 : end == 100) {
                                throw std::length_error("part");
                              }
                            }),
                 std::length_error);
    EXPECT_EQ(ended.load(), std::thread::hardware_concurrency() < 2 ? 1 : 2) << firstHalf;
  }
}

}  // namespace
