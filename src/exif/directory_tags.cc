#include "exif/directory_tags.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

// Each helper changes `field` only when the entry carries a value of its kind: the
// kind of the value follows the entry's type, so the type check comes with it. A
// helper may take the entry's value.

// Moved, not copied: a text may be as long as the file.
void takeText(IfdEntry& entry, std::string& field) {
  if (auto* text = std::get_if<std::string>(&entry.value)) field = std::move(*text);
}

void takeMake(IfdEntry& entry, ExifMetadata& metadata) {
  if (!std::holds_alternative<std::string>(entry.value)) return;
  takeText(entry, metadata.make);
  metadata.makeValue = {entry.valueAt, entry.count};
}

void takeFirstShort(IfdEntry& entry, std::uint16_t& field) {
  const auto* shorts = std::get_if<std::vector<std::uint16_t>>(&entry.value);
  if (shorts && !shorts->empty()) field = shorts->front();
}

void takeFirstRational(IfdEntry& entry, double& field) {
  const auto* rationals = std::get_if<std::vector<Rational>>(&entry.value);
  if (rationals && !rationals->empty()) field = rationalAsDouble(rationals->front());
}

// Cameras write the pixel dimensions as LONG or as SHORT.
void takePixelCount(IfdEntry& entry, std::uint32_t& field) {
  if (const auto* longs = std::get_if<std::vector<std::uint32_t>>(&entry.value)) {
    if (!longs->empty()) field = longs->front();
    return;
  }
  const auto* shorts = std::get_if<std::vector<std::uint16_t>>(&entry.value);
  if (shorts && !shorts->empty()) field = shorts->front();
}

// SubIFDs: the offsets of a TIFF's further images, as LONG or SHORT.
void takeOffsets(IfdEntry& entry, DirectoryPointers& pointers) {
  if (const auto* longs = std::get_if<std::vector<std::uint32_t>>(&entry.value)) {
    pointers.subIfds = *longs;
  } else if (const auto* shorts = std::get_if<std::vector<std::uint16_t>>(&entry.value)) {
    pointers.subIfds.assign(shorts->begin(), shorts->end());
  }
}

void takeFlash(IfdEntry& entry, ExifMetadata& metadata) {
  const auto* shorts = std::get_if<std::vector<std::uint16_t>>(&entry.value);
  if (!shorts || shorts->empty()) return;
  const unsigned flash = shorts->front();
  metadata.flashFired = (flash & 1) != 0;
  metadata.flashReturnLight = static_cast<std::uint16_t>((flash >> 1) & 3);
  metadata.flashMode = static_cast<std::uint16_t>((flash >> 3) & 3);
}

// Shortest and longest focal length, then the smallest F-numbers at each; a short
// list fills what it has.
void takeLensSpecification(IfdEntry& entry, LensData& lens) {
  const auto* rationals = std::get_if<std::vector<Rational>>(&entry.value);
  if (!rationals) return;
  double* const fields[] = {&lens.shortestFocalLength, &lens.longestFocalLength,
                            &lens.fNumberAtShortest, &lens.fNumberAtLongest};
  for (std::size_t i = 0; i < rationals->size() && i < 4; ++i) {
    *fields[i] = rationalAsDouble((*rationals)[i]);
  }
}

// What an entry of a listed tag needs before its rule changes anything. `text` is kept
// up to kLongestKeptText bytes, `makeText` up to kMakeBytesKept + 1: enough to tell
// whether the make is longer than what is kept of it.
enum class Need { text, makeText, firstShort, firstRational, pixelCount, lensValues, validEntry };

// No check reads these texts; a hostile file can point all of them at a value as long
// as the file, which must not be copied eleven times over.
constexpr std::uint32_t kLongestKeptText = 1024;

// Numbers are read from the first values of an entry, never more than four.
constexpr std::uint32_t kMostValuesUsed = 4;

// The one place a directory's tags are listed, in tag order: what each needs and what
// it sets. The walk reads `need` to skip entries before decoding them; `apply` makes
// the change.
template <typename Target>
struct TagRule {
  std::uint16_t tag;
  Need need;
  void (*apply)(IfdEntry& entry, Target& target);
};

// IFD0 sets fields of the record and the positions of the two other directories.
struct Ifd0Target {
  ExifMetadata& metadata;
  DirectoryPointers& pointers;
};

using Ifd0Rule = TagRule<Ifd0Target>;
const Ifd0Rule kIfd0Rules[] = {
    // A TIFF's own structure: which image this is and its size.
    {0x00FE, Need::pixelCount,
     [](IfdEntry& e, Ifd0Target& t) { takePixelCount(e, t.metadata.newSubfileType); }},
    {0x0100, Need::pixelCount,
     [](IfdEntry& e, Ifd0Target& t) { takePixelCount(e, t.metadata.imageWidth); }},
    {0x0101, Need::pixelCount,
     [](IfdEntry& e, Ifd0Target& t) { takePixelCount(e, t.metadata.imageLength); }},
    {0x0102, Need::firstShort,
     [](IfdEntry& e, Ifd0Target& t) { takeFirstShort(e, t.metadata.bitsPerSample); }},
    {0x010E, Need::text,
     [](IfdEntry& e, Ifd0Target& t) { takeText(e, t.metadata.imageDescription); }},
    {0x010F, Need::makeText, [](IfdEntry& e, Ifd0Target& t) { takeMake(e, t.metadata); }},
    {0x0110, Need::text, [](IfdEntry& e, Ifd0Target& t) { takeText(e, t.metadata.model); }},
    {0x0112, Need::firstShort,
     [](IfdEntry& e, Ifd0Target& t) { takeFirstShort(e, t.metadata.orientation); }},
    {0x0131, Need::text,
     [](IfdEntry& e, Ifd0Target& t) { takeText(e, t.metadata.software); }},
    {0x0132, Need::text,
     [](IfdEntry& e, Ifd0Target& t) { takeText(e, t.metadata.dateTime); }},
    {0x014A, Need::pixelCount, [](IfdEntry& e, Ifd0Target& t) { takeOffsets(e, t.pointers); }},
    {0x8298, Need::text,
     [](IfdEntry& e, Ifd0Target& t) { takeText(e, t.metadata.rightsNotice); }},
    // The pointers are taken whatever their type, as long as the entry decoded.
    {0x8769, Need::validEntry,
     [](IfdEntry& e, Ifd0Target& t) { t.pointers.exifSubIfd = e.valueOffset; }},
    {0x8825, Need::validEntry,
     [](IfdEntry& e, Ifd0Target& t) { t.pointers.gps = e.valueOffset; }},
    {0xC612, Need::validEntry, [](IfdEntry&, Ifd0Target& t) { t.metadata.dng = true; }},
};

using ExifRule = TagRule<ExifMetadata>;
const ExifRule kExifSubIfdRules[] = {
    {0x829A, Need::firstRational,
     [](IfdEntry& e, ExifMetadata& m) { takeFirstRational(e, m.exposureTime); }},
    {0x829D, Need::firstRational,
     [](IfdEntry& e, ExifMetadata& m) { takeFirstRational(e, m.fNumber); }},
    {0x8822, Need::firstShort,
     [](IfdEntry& e, ExifMetadata& m) { takeFirstShort(e, m.exposureProgram); }},
    {0x8827, Need::firstShort,
     [](IfdEntry& e, ExifMetadata& m) { takeFirstShort(e, m.isoSpeed); }},
    {0x9003, Need::text,
     [](IfdEntry& e, ExifMetadata& m) { takeText(e, m.dateTimeOriginal); }},
    {0x9004, Need::text,
     [](IfdEntry& e, ExifMetadata& m) { takeText(e, m.dateTimeDigitized); }},
    {0x9201, Need::firstRational,
     [](IfdEntry& e, ExifMetadata& m) { takeFirstRational(e, m.shutterSpeedValue); }},
    {0x9204, Need::firstRational,
     [](IfdEntry& e, ExifMetadata& m) { takeFirstRational(e, m.exposureBiasValue); }},
    {0x9206, Need::firstRational,
     [](IfdEntry& e, ExifMetadata& m) { takeFirstRational(e, m.subjectDistance); }},
    {0x9207, Need::firstShort,
     [](IfdEntry& e, ExifMetadata& m) { takeFirstShort(e, m.meteringMode); }},
    {0x9209, Need::firstShort, [](IfdEntry& e, ExifMetadata& m) { takeFlash(e, m); }},
    {0x920A, Need::firstRational,
     [](IfdEntry& e, ExifMetadata& m) { takeFirstRational(e, m.focalLength); }},
    {0x9291, Need::text,
     [](IfdEntry& e, ExifMetadata& m) { takeText(e, m.subSecTimeOriginal); }},
    {0xA002, Need::pixelCount,
     [](IfdEntry& e, ExifMetadata& m) { takePixelCount(e, m.pixelWidth); }},
    {0xA003, Need::pixelCount,
     [](IfdEntry& e, ExifMetadata& m) { takePixelCount(e, m.pixelHeight); }},
    {0xA20E, Need::firstRational,
     [](IfdEntry& e, ExifMetadata& m) {
       takeFirstRational(e, m.lens.focalPlaneXResolution);
     }},
    {0xA20F, Need::firstRational,
     [](IfdEntry& e, ExifMetadata& m) {
       takeFirstRational(e, m.lens.focalPlaneYResolution);
     }},
    {0xA210, Need::firstShort,
     [](IfdEntry& e, ExifMetadata& m) {
       takeFirstShort(e, m.lens.focalPlaneResolutionUnit);
     }},
    {0xA405, Need::firstShort,
     [](IfdEntry& e, ExifMetadata& m) { takeFirstShort(e, m.focalLength35mm); }},
    {0xA432, Need::lensValues,
     [](IfdEntry& e, ExifMetadata& m) { takeLensSpecification(e, m.lens); }},
    {0xA433, Need::text, [](IfdEntry& e, ExifMetadata& m) { takeText(e, m.lens.lensMake); }},
    {0xA434, Need::text, [](IfdEntry& e, ExifMetadata& m) { takeText(e, m.lens.lensModel); }},
};

// Every entry of a directory is looked up, so the rules are kept in tag order and
// searched by halves.
template <typename Rule, std::size_t n>
const Rule* ruleFor(const Rule (&rules)[n], std::uint16_t tag) {
  const Rule* rule = std::lower_bound(std::begin(rules), std::end(rules), tag,
                                      [](const Rule& r, std::uint16_t t) { return r.tag < t; });
  return rule != std::end(rules) && rule->tag == tag ? rule : nullptr;
}

unsigned fieldsSet(Need need, const RawIfdEntry& entry, const ExifBlock& block) {
  if (!entryDecodes(entry, block)) return 0;
  const bool some = entry.count > 0;
  switch (need) {
    case Need::text:
    case Need::makeText:
      return entry.fieldType == kTypeAscii ? 1 : 0;
    case Need::firstShort:
      return entry.fieldType == kTypeShort && some ? 1 : 0;
    case Need::firstRational:
      return entry.fieldType == kTypeRational && some ? 1 : 0;
    case Need::pixelCount:
      return (entry.fieldType == kTypeLong || entry.fieldType == kTypeShort) && some ? 1 : 0;
    case Need::lensValues:
      return entry.fieldType == kTypeRational ? std::min(entry.count, kMostValuesUsed) : 0;
    case Need::validEntry:
      return 1;
  }
  return 0;
}

template <typename Rule>
EntryUse useOf(const Rule* rule, const RawIfdEntry& entry, const ExifBlock& block) {
  EntryUse use;
  if (rule == nullptr) return use;
  use.fieldsSet = fieldsSet(rule->need, entry, block);
  use.limits.elements = kMostValuesUsed;
  use.limits.textBytes = rule->need == Need::makeText
                             ? static_cast<std::uint32_t>(kMakeBytesKept + 1)
                             : kLongestKeptText;
  return use;
}

}  // namespace

void applyIfd0Entry(IfdEntry& entry, ExifMetadata& metadata, DirectoryPointers& pointers) {
  if (const Ifd0Rule* rule = ruleFor(kIfd0Rules, entry.tag)) {
    Ifd0Target target{metadata, pointers};
    rule->apply(entry, target);
  }
}

void applyExifSubIfdEntry(IfdEntry& entry, ExifMetadata& metadata) {
  if (const ExifRule* rule = ruleFor(kExifSubIfdRules, entry.tag)) rule->apply(entry, metadata);
}

EntryUse ifd0EntryUse(const RawIfdEntry& entry, const ExifBlock& block) {
  return useOf(ruleFor(kIfd0Rules, entry.tag), entry, block);
}

EntryUse exifSubIfdEntryUse(const RawIfdEntry& entry, const ExifBlock& block) {
  return useOf(ruleFor(kExifSubIfdRules, entry.tag), entry, block);
}
