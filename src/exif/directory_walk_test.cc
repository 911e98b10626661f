// The directory walk decodes only the entries whose values last. These tests hold it
// to the result of decoding and applying every entry in file order.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <variant>

#include "exif/directory_tags.h"
#include "exif/exif_metadata.h"
#include "exif/gps_tags.h"
#include "exif_fields.h"
#include "jpeg_builder.h"

namespace {

template <typename Apply>
void applyEveryEntry(const ExactBuffer& block, std::uint64_t position, bool little, Apply apply) {
  const std::uint16_t count = readU16(block.data() + position, little);
  for (unsigned i = 0; i < count; ++i) {
    const auto at = static_cast<std::uint32_t>(position + 2 + 12 * i);
    IfdEntry entry = decodeIfdEntry(block.data(), at, little, kTiffHeaderPosition, block.length());
    apply(entry);
  }
}

// The plain walk: every entry decoded and applied in file order. Only for blocks that
// parsed, so the header and the directory counts are known to be sound.
ExifMetadata applyingEveryEntry(const ExactBuffer& block) {
  ExifMetadata m;
  m.littleEndian = block.data()[6] == 'I';
  const bool little = m.littleEndian;
  DirectoryPointers pointers;
  applyEveryEntry(block, readU32(block.data() + 10, little) + std::uint64_t{6}, little,
                  [&](IfdEntry& entry) { applyIfd0Entry(entry, m, pointers); });
  if (pointers.exifSubIfd && *pointers.exifSubIfd + 6 + 4 <= std::uint64_t{block.length()}) {
    applyEveryEntry(block, *pointers.exifSubIfd + 6, little,
                    [&](IfdEntry& entry) { applyExifSubIfdEntry(entry, m); });
  }
  if (pointers.gps && *pointers.gps + 6 + 4 <= std::uint64_t{block.length()}) {
    MemoryBytes bytes(block.data(), block.length());
    ExifBlock view(bytes, 0, block.length());
    view.setLittleEndian(little);
    const std::uint64_t position = *pointers.gps + std::uint64_t{6};
    const std::uint16_t count = readU16(block.data() + position, little);
    for (unsigned i = 0; i < count; ++i) {
      applyGpsEntry(readRawIfdEntry(block.data() + position + 2 + 12 * i, little), view, m.gps);
    }
  }
  return m;
}

// A random entry of a tag from a small pool, so that tags repeat: right and wrong
// types, no values or a few, values that lie past the block, counts near 2^32.
TiffEntry randomEntry(std::mt19937& random, const std::vector<std::uint16_t>& tags) {
  auto pick = [&](std::size_t n) { return static_cast<std::uint32_t>(random() % n); };
  struct Type {
    std::uint16_t code;
    std::size_t size;
  };
  const Type types[] = {{tiff::kByte, 1}, {tiff::kAscii, 1},     {tiff::kShort, 2},
                        {tiff::kLong, 4}, {tiff::kRational, 8},  {tiff::kUndefined, 1},
                        {9, 4},           {tiff::kSrational, 8}, {8, 2},
                        {11, 4}};
  const Type type = types[pick(std::size(types))];
  TiffEntry entry;
  entry.tag = tags[pick(tags.size())];
  entry.type = type.code;
  entry.count = pick(7);
  for (std::size_t i = 0; i < entry.count * type.size; ++i) {
    entry.bytes += static_cast<char>(pick(256));
  }
  switch (pick(8)) {
    case 0: entry.valueField = pick(400); break;
    case 1: entry.count = 0xFFFFFFFF - pick(4); break;
    default: break;
  }
  return entry;
}

TEST(DirectoryWalk, GivesWhatApplyingEveryEntryInFileOrderGives) {
  const std::vector<std::uint16_t> ifd0Tags = {0x010E, 0x010F, 0x0110, 0x0102,
                                               0x0112, 0x0131, 0x8298, 0xC000};
  const std::vector<std::uint16_t> exifTags = {0xA432, 0xA432, 0xA002, 0xA003, 0x9209,
                                               0x920A, 0xA405, 0x9003, 0x829A, 0xC000};
  std::mt19937 random(7);
  int parsed = 0;
  for (int round = 0; round < 3000; ++round) {
    ExifBlockSpec layout;
    layout.littleEndian = round % 2 == 0;
    for (auto i = random() % 12; i > 0; --i) layout.ifd0.push_back(randomEntry(random, ifd0Tags));
    for (auto i = random() % 16; i > 0; --i) layout.exif.push_back(randomEntry(random, exifTags));
    if (random() % 4 == 0) {
      TiffEntry pointer = pointerEntry(0x8769, Directory::exif);
      pointer.type = static_cast<std::uint16_t>(1 + random() % 11);
      const auto at = static_cast<std::ptrdiff_t>(random() % (layout.ifd0.size() + 1));
      layout.ifd0.insert(layout.ifd0.begin() + at, pointer);
    }
    const ExactBuffer block(buildExifBlock(layout));
    ExifMetadata walked;
    if (walked.parseExifBlock(block.data(), block.length()) != ExifStatus::ok) continue;
    ++parsed;
    ASSERT_TRUE(allFields(walked) == allFields(applyingEveryEntry(block))) << "round " << round;
  }
  EXPECT_GT(parsed, 2000);
}

// Without the walk's skipping, a parse of this block copies each of 125,000 values of
// about 1.5 MB: days of work. The values are those of the last entries that act.
TEST(DirectoryWalk, DirectoriesFullOfBlockSizedValuesParseToTheLastEntryThatActs) {
  ExifBlockSpec layout;
  // IFD0 at its largest: 65,534 entries and the pointer to the sub-IFD. Make texts
  // and BYTE values of an unlisted tag from IFD0 to the end; the last Make from the
  // TIFF header on.
  for (unsigned i = 0; i < 65533; ++i) {
    layout.ifd0.push_back(withValueField(
        bytesEntry(i % 2 == 0 ? 0x010F : 0xC000, i % 2 == 0 ? tiff::kAscii : tiff::kByte, ""), 8));
  }
  layout.ifd0.push_back(withValueField(bytesEntry(0x010F, tiff::kAscii, ""), 0));
  // The sub-IFD: SHORT values of the 35 mm focal length and of an unlisted tag, then
  // the last focal length, whose first value is the "II" of the TIFF header.
  for (unsigned i = 0; i < 60000; ++i) {
    layout.exif.push_back(
        withValueField(withType(shortEntry(i % 2 == 0 ? 0xA405 : 0xA401, {}), tiff::kShort), 2));
  }
  layout.exif.push_back(withValueField(shortEntry(0xA405, {}), 0));
  const std::string built = buildBlockWithValuesToTheEnd(layout);
  ASSERT_GT(built.size(), 1500000u);
  ASSERT_EQ(built.back(), '\0');  // the sub-IFD's next-directory offset

  const ExactBuffer block(built);
  ExifMetadata m;
  ASSERT_EQ(m.parseExifBlock(block.data(), block.length()), ExifStatus::ok);
  // The make's start, and where its whole value lies, to be read again in pieces.
  EXPECT_EQ(m.make, built.substr(6, kMakeBytesKept + 1));
  EXPECT_EQ(m.makeValue.at, 6u);
  EXPECT_EQ(m.makeValue.count, built.size() - 6);
  EXPECT_EQ(m.focalLength35mm, 0x4949);
}

// A LensSpecification entry sets one field per value, so a later, shorter one leaves
// the fields only the earlier one had.
TEST(DirectoryWalk, ShorterLensSpecificationKeepsTheFieldsItDoesNotReach) {
  ExifBlockSpec layout;
  layout.exif = {rationalEntry(0xA432, {{24, 1}, {70, 1}, {28, 10}, {40, 10}}),
               rationalEntry(0xA432, {{10, 1}, {20, 1}, {30, 10}}),
               rationalEntry(0xA432, {{12, 1}}), withCount(rationalEntry(0xA432, {{99, 1}}), 0)};
  const ExactBuffer block(buildExifBlock(layout));
  ExifMetadata m;
  ASSERT_EQ(m.parseExifBlock(block.data(), block.length()), ExifStatus::ok);
  EXPECT_EQ(m.lens.shortestFocalLength, 12.0);
  EXPECT_EQ(m.lens.longestFocalLength, 20.0);
  EXPECT_EQ(m.lens.fNumberAtShortest, 3.0);
  EXPECT_EQ(m.lens.fNumberAtLongest, 4.0);
}

// A value of `count` elements that differs from every reset value.
void fillWithSevens(std::monostate&, std::uint32_t) {}
void fillWithSevens(std::string& text, std::uint32_t count) { text.assign(count, '7'); }
void fillWithSevens(std::vector<Rational>& rationals, std::uint32_t count) {
  rationals.assign(count, Rational{7, 1});
}
template <typename Number>
void fillWithSevens(std::vector<Number>& numbers, std::uint32_t count) {
  numbers.assign(count, Number{7});
}

// The entry uses must say "nothing" exactly for the entries whose apply changes
// nothing: a tag added to one switch and not the other fails here.
struct Agreement {
  ExifMetadata before;
  Agreement() {
    before.imageDescription = before.make = before.model = before.software = before.dateTime =
        before.rightsNotice = before.dateTimeOriginal = before.dateTimeDigitized =
            before.subSecTimeOriginal = before.lens.lensMake = before.lens.lensModel = "old";
  }

  // Checks both tables on one entry; returns whether either acted on it.
  bool check(std::uint16_t tag, std::uint16_t type, std::uint32_t count) const {
    // As decodeIfdEntry gives it: a refused type comes back without its tag.
    IfdEntry entry;
    entry.tag = entry.setFieldType(type) ? tag : invalidTag;
    entry.count = count;
    std::visit([count](auto& value) { fillWithSevens(value, count); }, entry.value);
    const RawIfdEntry raw{tag, type, count, 0};

    ExifMetadata ifd0 = before;
    DirectoryPointers pointers;
    IfdEntry forIfd0 = entry;
    applyIfd0Entry(forIfd0, ifd0, pointers);
    const bool ifd0Changed =
        !(allFields(ifd0) == allFields(before)) || pointers.exifSubIfd || pointers.gps ||
        !pointers.subIfds.empty();
    MemoryBytes noBytes(nullptr, 1000);
    const ExifBlock block(noBytes, 0, 1000);
    EXPECT_EQ(ifd0EntryUse(raw, block).fieldsSet > 0, ifd0Changed)
        << "IFD0 tag " << tag << " type " << type << " count " << count;

    ExifMetadata exif = before;
    IfdEntry forExif = entry;
    applyExifSubIfdEntry(forExif, exif);
    const bool exifChanged = !(allFields(exif) == allFields(before));
    EXPECT_EQ(exifSubIfdEntryUse(raw, block).fieldsSet > 0, exifChanged)
        << "sub-IFD tag " << tag << " type " << type << " count " << count;
    return ifd0Changed || exifChanged;
  }
};

TEST(FieldsSet, NonZeroExactlyWhenApplyingTheEntryChangesTheRecord) {
  const Agreement agreement;
  // Every table entry acts on one value of ASCII, SHORT or RATIONAL; so these find
  // every tag either table lists, and all other tags are checked to do nothing.
  std::vector<std::uint16_t> listed;
  for (unsigned tag = 0; tag <= 0xFFFF; ++tag) {
    bool acted = false;
    for (std::uint16_t type : {kTypeAscii, kTypeShort, kTypeRational}) {
      acted = agreement.check(static_cast<std::uint16_t>(tag), type, 1) || acted;
    }
    if (acted) listed.push_back(static_cast<std::uint16_t>(tag));
  }
  EXPECT_EQ(listed.size(), 37u);  // 15 of IFD0, 22 of the sub-IFD
  for (std::uint16_t tag : listed) {
    for (std::uint16_t type = 0; type <= 12; ++type) {
      for (std::uint32_t count : {0u, 1u, 2u, 5u}) agreement.check(tag, type, count);
    }
  }
}

}  // namespace
