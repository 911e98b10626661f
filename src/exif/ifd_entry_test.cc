#include "exif/ifd_entry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "jpeg_builder.h"

// Lets whole values be compared; found by argument-dependent lookup from std::variant.
bool operator==(const Rational& a, const Rational& b) {
  return a.numerator == b.numerator && a.denominator == b.denominator;
}

namespace {

using Bytes = std::vector<std::uint8_t>;
using Shorts = std::vector<std::uint16_t>;
using Longs = std::vector<std::uint32_t>;
using Rationals = std::vector<Rational>;

// In a block with IFD0 at offset 8, its first entry starts at block position 16 and
// the first long value at offset 26 (block position 32); the block ends after it.
constexpr std::uint32_t kFirstEntry = 16;
constexpr std::uint32_t kFirstValueOffset = 26;

IfdEntry decodeAlone(const TiffEntry& written, bool littleEndian) {
  ExifBlockSpec layout;
  layout.littleEndian = littleEndian;
  layout.ifd0 = {written};
  const ExactBuffer block(buildExifBlock(layout));
  return decodeIfdEntry(block.data(), kFirstEntry, littleEndian, kTiffHeaderPosition,
                        block.length());
}

struct DecodeCase {
  const char* name;
  TiffEntry written;
  IfdValue value;  // the kind alone, empty, when the entry comes back invalid
  bool valid;
};

TEST(DecodeIfdEntry, ValuesInlineAndAtOffsetsInBothOrders) {
  const DecodeCase cases[] = {
      {"two shorts inline", shortEntry(0x0112, {1, 2}), Shorts{1, 2}, true},
      {"three shorts at an offset", shortEntry(0x0112, {7, 8, 9}), Shorts{7, 8, 9}, true},
      {"long inline", longEntry(0xA002, {0x01020304}), Longs{0x01020304}, true},
      {"two longs", longEntry(0xA002, {1, 0xFFFFFFFF}), Longs{1, 0xFFFFFFFF}, true},
      {"bytes inline", bytesEntry(0x0000, tiff::kByte, "\x01\x02\x03"), Bytes{1, 2, 3}, true},
      {"bytes at an offset", bytesEntry(0x0000, tiff::kByte, "\x01\x02\x03\x04\xFF"),
       Bytes{1, 2, 3, 4, 0xFF}, true},
      {"text at an offset loses its NUL", asciiEntry(0x010F, "ABCDE"), std::string("ABCDE"),
       true},
      {"inline text loses its NUL", asciiEntry(0x010F, "ABC"), std::string("ABC"), true},
      {"only one of two NULs goes", bytesEntry(0x010F, tiff::kAscii, std::string("AB\0\0", 4)),
       std::string("AB\0", 3), true},
      {"text without NUL stays whole", bytesEntry(0x010F, tiff::kAscii, "ABCD"),
       std::string("ABCD"), true},
      {"inner NUL stays", bytesEntry(0x010F, tiff::kAscii, std::string("A\0B\0", 4)),
       std::string("A\0B", 3), true},
      {"empty text keeps its tag", bytesEntry(0x010F, tiff::kAscii, ""), std::string(), true},
      {"rational ending at the block end", rationalEntry(0x920A, {{1, 2}}), Rationals{{1, 2}},
       true},
      {"no rationals", rationalEntry(0x920A, {}), Rationals{}, true},
      {"undefined is never read",
       withValueField(withCount(bytesEntry(0x927C, tiff::kUndefined, ""), 1000000), 0xFFFFFF00),
       std::monostate(), true},
      {"srational is never read", withCount(bytesEntry(0x9201, tiff::kSrational, ""), 1),
       std::monostate(), true},
      {"rational one byte past the end",
       withValueField(rationalEntry(0x920A, {{1, 2}}), kFirstValueOffset + 1), Rationals{},
       false},
      {"four billion longs", withCount(longEntry(0xA002, {1, 2}), 0xFFFFFFFF), Longs{}, false},
      {"offset wrapping past 2^32", withValueField(shortEntry(0x0112, {1, 2, 3}), 0xFFFFFFFA),
       Shorts{}, false},
      {"text offset past the end", withValueField(asciiEntry(0x010F, "Canon"), 0x00100000),
       std::string(), false},
  };
  for (bool little : {true, false}) {
    for (const DecodeCase& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (little ? " (II)" : " (MM)"));
      IfdEntry entry = decodeAlone(c.written, little);
      EXPECT_EQ(entry.tag, c.valid ? c.written.tag : invalidTag);
      EXPECT_EQ(entry.fieldType, c.written.type);
      EXPECT_EQ(entry.count, c.written.count);
      EXPECT_TRUE(entry.value == c.value) << "kind " << entry.value.index();
    }
  }
}

TEST(DecodeIfdEntry, ReadsTheFileBytesInEitherOrder) {
  // One SHORT entry, count 2, values 1 and 2 inline, written by hand in both orders.
  const unsigned char big[] = {'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1,
                               0x01, 0x12, 0, 3, 0, 0, 0, 2, 0, 1, 0, 2, 0, 0, 0, 0};
  const unsigned char little[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                                  0x12, 0x01, 3, 0, 2, 0, 0, 0, 1, 0, 2, 0, 0, 0, 0, 0};
  for (const auto& [block, isLittle] : {std::pair(big, false), std::pair(little, true)}) {
    IfdEntry entry = decodeIfdEntry(block, kFirstEntry, isLittle, kTiffHeaderPosition, 32);
    EXPECT_EQ(entry.tag, 0x0112);
    EXPECT_EQ(entry.fieldType, kTypeShort);
    EXPECT_EQ(entry.count, 2u);
    EXPECT_EQ(entry.valueOffset, isLittle ? 0x00020001u : 0x00010002u);
    EXPECT_TRUE(entry.value == IfdValue(Shorts{1, 2}));
  }
}

TEST(DecodeIfdEntry, RefusedTypesComeBackInvalidWithTheirNumbers) {
  const std::uint16_t codes[] = {0, 6, 8, 11, 12, 13, 254, 255, 256, 0xFFFF};
  for (std::uint16_t code : codes) {
    SCOPED_TRACE(code);
    TiffEntry written = withValueField(withCount(bytesEntry(0x010F, code, ""), 7), 0x12345678);
    IfdEntry entry = decodeAlone(written, true);
    EXPECT_EQ(entry.tag, invalidTag);
    EXPECT_EQ(entry.fieldType, noFieldType);
    EXPECT_EQ(entry.count, 7u);
    EXPECT_EQ(entry.valueOffset, 0x12345678u);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(entry.value));
  }
}

TEST(DecodeIfdEntry, EntryMustLieWhollyInTheBlock) {
  ExifBlockSpec layout;
  layout.ifd0 = {shortEntry(0x0112, {6})};
  const ExactBuffer block(buildExifBlock(layout));
  // The block ends with the 4-byte next-directory offset right after the entry.
  const std::uint32_t end = kFirstEntry + 12;
  IfdEntry fits = decodeIfdEntry(block.data(), kFirstEntry, true, kTiffHeaderPosition, end);
  EXPECT_EQ(fits.tag, 0x0112);
  IfdEntry cut = decodeIfdEntry(block.data(), kFirstEntry, true, kTiffHeaderPosition, end - 1);
  EXPECT_EQ(cut.tag, invalidTag);
  EXPECT_EQ(cut.fieldType, noFieldType);
  EXPECT_EQ(cut.count, 0u);
  EXPECT_EQ(cut.valueOffset, 0u);
  IfdEntry far = decodeIfdEntry(block.data(), 0xFFFFFFF8, true, kTiffHeaderPosition, end);
  EXPECT_EQ(far.tag, invalidTag);
}

// The walk asks entryDecodes which entries to decode; it must agree with the decoding
// itself at every type and around both ends of the block.
TEST(EntryDecodes, AgreesWithDecodeIfdEntry) {
  const std::uint32_t blockLength = 64;
  std::vector<unsigned char> block(blockLength, 0x41);
  const std::uint32_t counts[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x1FFFFFFF, 0x20000000,
                                  0xFFFFFFFF};
  const std::uint32_t offsets[] = {0, 1, 2, 30, 40, 41, 42, 50, 57, 58, 0xFFFFFFFA, 0xFFFFFFFF};
  for (unsigned type = 0; type <= 256; ++type) {
    for (std::uint32_t count : counts) {
      for (std::uint32_t offset : offsets) {
        for (bool little : {true, false}) {
          const TiffEntry written = withValueField(
              withCount(bytesEntry(0x010F, static_cast<std::uint16_t>(type), ""), count), offset);
          ExifBlockSpec layout;
          layout.littleEndian = little;
          layout.ifd0 = {written};
          const std::string built = buildExifBlock(layout);
          std::copy(built.begin() + kFirstEntry, built.begin() + kFirstEntry + 12,
                    block.begin() + kFirstEntry);
          const IfdEntry decoded = decodeIfdEntry(block.data(), kFirstEntry, little,
                                                  kTiffHeaderPosition, blockLength);
          const RawIfdEntry raw = readRawIfdEntry(block.data() + kFirstEntry, little);
          MemoryBytes bytes(block.data(), blockLength);
          const ExifBlock view(bytes, 0, blockLength);
          ASSERT_EQ(entryDecodes(raw, view),
                    decoded.tag != invalidTag)
              << "type " << type << " count " << count << " offset " << offset;
        }
      }
    }
  }
}

TEST(IfdEntrySetFieldType, AcceptedCodesGetAFreshValueOfTheirKind) {
  const std::pair<std::uint16_t, std::size_t> accepted[] = {
      {kTypeByte, 1},      {kTypeAscii, 2},     {kTypeShort, 3},     {kTypeLong, 4},
      {kTypeRational, 5},  {kTypeUndefined, 0}, {kTypeSlong, 0},     {kTypeSrational, 0},
      {noFieldType, 0},
  };
  for (const auto& [code, kind] : accepted) {
    IfdEntry entry;
    entry.setFieldType(kTypeShort);
    std::get<Shorts>(entry.value).push_back(9);
    EXPECT_TRUE(entry.setFieldType(code)) << code;
    EXPECT_EQ(entry.fieldType, code);
    EXPECT_EQ(entry.value.index(), kind) << code;
    EXPECT_TRUE(code == kTypeShort || entry.value != IfdValue(Shorts{9})) << code;
  }
  IfdEntry entry;
  entry.setFieldType(kTypeShort);
  std::get<Shorts>(entry.value).push_back(9);
  const std::uint16_t refusedCodes[] = {0, 6, 8, 11, 12, 13, 256};
  for (std::uint16_t refused : refusedCodes) {
    EXPECT_FALSE(entry.setFieldType(refused)) << refused;
    EXPECT_EQ(entry.fieldType, kTypeShort);
    EXPECT_TRUE(entry.value == IfdValue(Shorts{9}));
  }
}

}  // namespace
