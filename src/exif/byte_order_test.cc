#include "exif/byte_order.h"

#include <gtest/gtest.h>

namespace {

TEST(ByteOrder, ReadsBothOrders) {
  const unsigned char bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0};
  EXPECT_EQ(readU16(bytes, true), 0x3412);
  EXPECT_EQ(readU16(bytes, false), 0x1234);
  EXPECT_EQ(readU32(bytes, true), 0x78563412u);
  EXPECT_EQ(readU32(bytes, false), 0x12345678u);

  Rational little = readRational(bytes, true);
  EXPECT_EQ(little.numerator, 0x78563412u);
  EXPECT_EQ(little.denominator, 0xF0DEBC9Au);
  Rational big = readRational(bytes, false);
  EXPECT_EQ(big.numerator, 0x12345678u);
  EXPECT_EQ(big.denominator, 0x9ABCDEF0u);
}

TEST(RationalAsDouble, ZeroDenominatorIsZeroAndHalvesAreUnsigned) {
  EXPECT_EQ(rationalAsDouble({5, 0}), 0.0);
  EXPECT_EQ(rationalAsDouble({0, 0}), 0.0);
  EXPECT_EQ(rationalAsDouble({1, 2}), 0.5);
  EXPECT_EQ(rationalAsDouble({0xFFFFFFFFu, 1}), 4294967295.0);
  EXPECT_EQ(rationalAsDouble({1, 0xFFFFFFFFu}), 1.0 / 4294967295.0);
}

}  // namespace
