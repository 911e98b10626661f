#include "exif/directory_tags.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Each helper changes `field` only when the entry carries a value of its kind: the
// kind of the value follows the entry's type, so the type check comes with it.

void takeText(const IfdEntry& entry, std::string& field) {
  if (const auto* text = std::get_if<std::string>(&entry.value)) field = *text;
}

void takeFirstShort(const IfdEntry& entry, std::uint16_t& field) {
  const auto* shorts = std::get_if<std::vector<std::uint16_t>>(&entry.value);
  if (shorts && !shorts->empty()) field = shorts->front();
}

void takeFirstRational(const IfdEntry& entry, double& field) {
  const auto* rationals = std::get_if<std::vector<Rational>>(&entry.value);
  if (rationals && !rationals->empty()) field = rationalAsDouble(rationals->front());
}

// Cameras write the pixel dimensions as LONG or as SHORT.
void takePixelCount(const IfdEntry& entry, std::uint32_t& field) {
  if (const auto* longs = std::get_if<std::vector<std::uint32_t>>(&entry.value)) {
    if (!longs->empty()) field = longs->front();
    return;
  }
  const auto* shorts = std::get_if<std::vector<std::uint16_t>>(&entry.value);
  if (shorts && !shorts->empty()) field = shorts->front();
}

void takeFlash(const IfdEntry& entry, ExifMetadata& metadata) {
  const auto* shorts = std::get_if<std::vector<std::uint16_t>>(&entry.value);
  if (!shorts || shorts->empty()) return;
  const unsigned flash = shorts->front();
  metadata.flashFired = (flash & 1) != 0;
  metadata.flashReturnLight = static_cast<std::uint16_t>((flash >> 1) & 3);
  metadata.flashMode = static_cast<std::uint16_t>((flash >> 3) & 3);
}

// Shortest and longest focal length, then the smallest F-numbers at each; a short
// list fills what it has.
void takeLensSpecification(const IfdEntry& entry, LensData& lens) {
  const auto* rationals = std::get_if<std::vector<Rational>>(&entry.value);
  if (!rationals) return;
  double* const fields[] = {&lens.shortestFocalLength, &lens.longestFocalLength,
                            &lens.fNumberAtShortest, &lens.fNumberAtLongest};
  for (std::size_t i = 0; i < rationals->size() && i < 4; ++i) {
    *fields[i] = rationalAsDouble((*rationals)[i]);
  }
}

// What an entry of a listed tag needs before its apply function changes anything.
// Kept beside the two switches below, which it must match tag for tag.
enum class Need { nothing, text, firstShort, firstRational, pixelCount, lensValues, validEntry };

Need ifd0Need(std::uint16_t tag) {
  switch (tag) {
    case 0x010E: case 0x010F: case 0x0110: case 0x0131: case 0x0132: case 0x8298:
      return Need::text;
    case 0x0102: case 0x0112:
      return Need::firstShort;
    case 0x8769: case 0x8825:
      return Need::validEntry;
    default:
      return Need::nothing;
  }
}

Need exifSubIfdNeed(std::uint16_t tag) {
  switch (tag) {
    case 0x9003: case 0x9004: case 0x9291: case 0xA433: case 0xA434:
      return Need::text;
    case 0x8822: case 0x8827: case 0x9207: case 0x9209: case 0xA210: case 0xA405:
      return Need::firstShort;
    case 0x829A: case 0x829D: case 0x9201: case 0x9204: case 0x9206: case 0x920A:
    case 0xA20E: case 0xA20F:
      return Need::firstRational;
    case 0xA002: case 0xA003:
      return Need::pixelCount;
    case 0xA432:
      return Need::lensValues;
    default:
      return Need::nothing;
  }
}

unsigned fieldsSet(Need need, const RawIfdEntry& entry, std::uint32_t blockLength) {
  if (need == Need::nothing || !entryDecodes(entry, tiffHeaderPosition, blockLength)) return 0;
  const bool some = entry.count > 0;
  switch (need) {
    case Need::text:
      return entry.fieldType == typeAscii ? 1 : 0;
    case Need::firstShort:
      return entry.fieldType == typeShort && some ? 1 : 0;
    case Need::firstRational:
      return entry.fieldType == typeRational && some ? 1 : 0;
    case Need::pixelCount:
      return (entry.fieldType == typeLong || entry.fieldType == typeShort) && some ? 1 : 0;
    case Need::lensValues:
      return entry.fieldType == typeRational ? std::min(entry.count, 4u) : 0;
    case Need::validEntry:
      return 1;
    case Need::nothing:
      break;
  }
  return 0;
}

std::uint64_t blockPositionOf(std::uint32_t offset) {
  return std::uint64_t{offset} + tiffHeaderPosition;
}

}  // namespace

void applyIfd0Entry(const IfdEntry& entry, ExifMetadata& metadata, DirectoryPointers& pointers) {
  switch (entry.tag) {
    case 0x0102: takeFirstShort(entry, metadata.bitsPerSample); break;
    case 0x010E: takeText(entry, metadata.imageDescription); break;
    case 0x010F: takeText(entry, metadata.make); break;
    case 0x0110: takeText(entry, metadata.model); break;
    case 0x0112: takeFirstShort(entry, metadata.orientation); break;
    case 0x0131: takeText(entry, metadata.software); break;
    case 0x0132: takeText(entry, metadata.dateTime); break;
    case 0x8298: takeText(entry, metadata.rightsNotice); break;
    // The pointers are taken whatever their type, as long as the entry decoded.
    case 0x8769: pointers.exifSubIfd = blockPositionOf(entry.valueOffset); break;
    case 0x8825: pointers.gps = blockPositionOf(entry.valueOffset); break;
    default: break;
  }
}

void applyExifSubIfdEntry(const IfdEntry& entry, ExifMetadata& metadata) {
  switch (entry.tag) {
    case 0x829A: takeFirstRational(entry, metadata.exposureTime); break;
    case 0x829D: takeFirstRational(entry, metadata.fNumber); break;
    case 0x8822: takeFirstShort(entry, metadata.exposureProgram); break;
    case 0x8827: takeFirstShort(entry, metadata.isoSpeed); break;
    case 0x9003: takeText(entry, metadata.dateTimeOriginal); break;
    case 0x9004: takeText(entry, metadata.dateTimeDigitized); break;
    case 0x9201: takeFirstRational(entry, metadata.shutterSpeedValue); break;
    case 0x9204: takeFirstRational(entry, metadata.exposureBiasValue); break;
    case 0x9206: takeFirstRational(entry, metadata.subjectDistance); break;
    case 0x9207: takeFirstShort(entry, metadata.meteringMode); break;
    case 0x9209: takeFlash(entry, metadata); break;
    case 0x920A: takeFirstRational(entry, metadata.focalLength); break;
    case 0x9291: takeText(entry, metadata.subSecTimeOriginal); break;
    case 0xA002: takePixelCount(entry, metadata.pixelWidth); break;
    case 0xA003: takePixelCount(entry, metadata.pixelHeight); break;
    case 0xA20E: takeFirstRational(entry, metadata.lens.focalPlaneXResolution); break;
    case 0xA20F: takeFirstRational(entry, metadata.lens.focalPlaneYResolution); break;
    case 0xA210: takeFirstShort(entry, metadata.lens.focalPlaneResolutionUnit); break;
    case 0xA405: takeFirstShort(entry, metadata.focalLength35mm); break;
    case 0xA432: takeLensSpecification(entry, metadata.lens); break;
    case 0xA433: takeText(entry, metadata.lens.lensMake); break;
    case 0xA434: takeText(entry, metadata.lens.lensModel); break;
    default: break;
  }
}

unsigned fieldsSetByIfd0Entry(const RawIfdEntry& entry, std::uint32_t blockLength) {
  return fieldsSet(ifd0Need(entry.tag), entry, blockLength);
}

unsigned fieldsSetByExifSubIfdEntry(const RawIfdEntry& entry, std::uint32_t blockLength) {
  return fieldsSet(exifSubIfdNeed(entry.tag), entry, blockLength);
}
