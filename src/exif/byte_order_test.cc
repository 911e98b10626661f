#include "exif/byte_order.h"

#include <gtest/gtest.h>

#include "exif/exif_block.h"

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

// A block's numbers read the same through ExifBlock, at its start and in its very last
// bytes, where the source ends: no reader asks for a byte more than it reads.
TEST(ByteOrder, BlockReadsItsLastBytes) {
  const unsigned char bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0};
  for (const bool little : {true, false}) {
    SCOPED_TRACE(little ? "II" : "MM");
    MemoryBytes source(bytes, sizeof bytes);
    ExifBlock block(source, 0, sizeof bytes);
    block.setLittleEndian(little);
    EXPECT_EQ(block.u16(6), readU16(bytes + 6, little));
    EXPECT_EQ(block.u32(4), readU32(bytes + 4, little));
    EXPECT_EQ(block.u32(0), readU32(bytes, little));
    EXPECT_EQ(block.rational(0).denominator, readRational(bytes, little).denominator);
    EXPECT_EQ(block.u32(5), 0u);  // would run past the end
  }
}

TEST(RationalAsDouble, ZeroDenominatorIsZeroAndHalvesAreUnsigned) {
  EXPECT_EQ(rationalAsDouble({5, 0}), 0.0);
  EXPECT_EQ(rationalAsDouble({0, 0}), 0.0);
  EXPECT_EQ(rationalAsDouble({1, 2}), 0.5);
  EXPECT_EQ(rationalAsDouble({0xFFFFFFFFu, 1}), 4294967295.0);
  EXPECT_EQ(rationalAsDouble({1, 0xFFFFFFFFu}), 1.0 / 4294967295.0);
}

}  // namespace
