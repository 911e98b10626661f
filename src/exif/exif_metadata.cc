#include "exif/exif_metadata.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "exif/directory_tags.h"
#include "exif/gps_tags.h"
#include "exif/ifd_entry.h"

namespace {

constexpr unsigned char kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};

// A directory is its 16-bit entry count, 12 bytes per entry and the 4-byte offset
// of the next directory, which is never followed but must lie inside the block.
bool directoryFits(std::uint64_t position, std::uint16_t entryCount,
                   std::uint32_t blockLength) {
  return position + 2 + 12 * std::uint64_t{entryCount} + 4 <= blockLength;
}

// Position of entry `index` of the directory at `position`; the caller has checked
// with directoryFits that it lies in the block, so it fits 32 bits.
std::uint32_t entryPosition(std::uint64_t position, unsigned index) {
  return static_cast<std::uint32_t>(position + 2 + 12 * std::uint64_t{index});
}

// Walks the `count` entries of the directory at `position` and applies those that
// last. A hostile directory can hold 65,535 entries, each with a value as large as the
// block; decoding them all would copy the block that many times. So the walk first
// reads the fixed fields of every entry, backwards, and marks an entry only when its
// table acts on it and no later entry of the same tag sets as many fields; then it
// decodes and applies the marked entries in file order. The result is the one that
// applying every entry in order gives, for a few copies of the block at most.
template <typename FieldsSet, typename Apply>
void walkDirectory(const unsigned char* block, std::uint32_t blockLength, std::uint64_t position,
                   std::uint16_t count, bool little, FieldsSet fieldsSet, Apply apply) {
  std::vector<bool> lasting(count);
  // Tag and the most fields a later entry of it sets; only listed tags come in, so a
  // handful of them.
  std::vector<std::pair<std::uint16_t, unsigned>> setLater;
  for (unsigned i = count; i-- > 0;) {
    const RawIfdEntry raw = readRawIfdEntry(block + entryPosition(position, i), little);
    const unsigned fields = fieldsSet(raw, blockLength);
    if (fields == 0) continue;
    auto later = std::find_if(setLater.begin(), setLater.end(),
                              [&](const auto& seen) { return seen.first == raw.tag; });
    if (later == setLater.end()) later = setLater.insert(later, {raw.tag, 0});
    lasting[i] = fields > later->second;
    later->second = std::max(later->second, fields);
  }
  for (unsigned i = 0; i < count; ++i) {
    if (!lasting[i]) continue;
    apply(decodeIfdEntry(block, entryPosition(position, i), little, tiffHeaderPosition,
                         blockLength));
  }
}

}  // namespace

void ExifMetadata::reset() { *this = ExifMetadata(); }

ExifStatus ExifMetadata::parseJpeg(const unsigned char* data, std::uint32_t length) {
  if (data == nullptr || length < 4) return ExifStatus::notJpeg;
  if (data[0] != 0xFF || data[1] != 0xD8) return ExifStatus::notJpeg;

  // Everything after the last end-of-image marker is ignored.
  std::uint32_t end = length;
  while (data[end - 2] != 0xFF || data[end - 1] != 0xD9) {
    --end;
    if (end <= 2) return ExifStatus::notJpeg;
  }

  reset();

  // A plain byte scan, not a walk over the segments: the first FF E1 pair decides.
  std::uint32_t app1 = 0;
  while (app1 + 1 < end && (data[app1] != 0xFF || data[app1 + 1] != 0xE1)) ++app1;
  if (app1 + 1 >= end || std::uint64_t{app1} + 4 > end) return ExifStatus::noExif;

  // The segment length is big-endian whatever the TIFF byte order, and counts itself.
  const std::uint32_t segmentLength = readU16(data + app1 + 2, false);
  if (std::uint64_t{app1} + 2 + segmentLength > end || segmentLength < 16) {
    return ExifStatus::corrupt;
  }
  // The block runs to the trimmed end, not to the end of the segment.
  return parseExifBlock(data + app1 + 4, end - app1 - 4);
}

ExifStatus ExifMetadata::parseExifBlock(const unsigned char* block, std::uint32_t blockLength) {
  if (block == nullptr || blockLength < 6) return ExifStatus::noExif;
  if (std::memcmp(block, kExifHeader, sizeof kExifHeader) != 0) return ExifStatus::noExif;
  if (blockLength < 14) return ExifStatus::corrupt;

  bool little = false;
  if (block[6] == 'I' && block[7] == 'I') {
    little = true;
  } else if (block[6] != 'M' || block[7] != 'M') {
    return ExifStatus::badByteOrder;
  }
  littleEndian = little;
  if (readU16(block + 8, little) != 42) return ExifStatus::corrupt;

  const std::uint64_t ifd0 = std::uint64_t{readU32(block + 10, little)} + tiffHeaderPosition;
  if (ifd0 >= blockLength || ifd0 + 2 > blockLength) return ExifStatus::corrupt;
  const std::uint16_t ifd0Count = readU16(block + ifd0, little);
  if (!directoryFits(ifd0, ifd0Count, blockLength)) return ExifStatus::corrupt;

  DirectoryPointers pointers;
  walkDirectory(block, blockLength, ifd0, ifd0Count, little, fieldsSetByIfd0Entry,
                [&](const IfdEntry& entry) { applyIfd0Entry(entry, *this, pointers); });

  // A directory that starts too close to the end of the block is skipped, not an
  // error; one that starts in the block but claims more entries than fit is corrupt.
  if (pointers.exifSubIfd && *pointers.exifSubIfd + 4 <= blockLength) {
    const std::uint64_t position = *pointers.exifSubIfd;
    const std::uint16_t count = readU16(block + position, little);
    if (!directoryFits(position, count, blockLength)) return ExifStatus::corrupt;
    walkDirectory(block, blockLength, position, count, little, fieldsSetByExifSubIfdEntry,
                  [&](const IfdEntry& entry) { applyExifSubIfdEntry(entry, *this); });
  }

  if (pointers.gps && *pointers.gps + 4 <= blockLength) {
    const std::uint64_t position = *pointers.gps;
    const std::uint16_t count = readU16(block + position, little);
    if (!directoryFits(position, count, blockLength)) return ExifStatus::corrupt;
    for (unsigned i = 0; i < count; ++i) {
      RawIfdEntry entry = readRawIfdEntry(block + entryPosition(position, i), little);
      applyGpsEntry(entry, block, blockLength, little, gps);
    }
  }
  return ExifStatus::ok;
}
