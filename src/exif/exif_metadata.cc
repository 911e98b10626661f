#include "exif/exif_metadata.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "exif/byte_source.h"
#include "exif/directory_tags.h"
#include "exif/exif_block.h"
#include "exif/gps_tags.h"
#include "exif/ifd_entry.h"
#include "exif/jpeg_frame.h"
#include "exif/pair_search.h"

namespace {

constexpr unsigned char kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};

// The searches for the end marker and for the EXIF segment find them at once in a
// photograph as cameras write it: the marker in its last two bytes, the segment in its
// first page. That is all they ask for first; then a page; then, as they may have to
// cover the whole file (a photograph stripped of its metadata has no FF E1 at all),
// large pieces, each read in one go.
constexpr std::uint64_t kEndMarkerBytes = 2;
constexpr std::uint64_t kPageBytes = 4096;
constexpr std::uint64_t kSearchPieceBytes = 256 * 1024;

// The length up to and including the last FF D9 pair that starts after byte 0, or 0
// when there is none. Pieces overlap by one byte, so that a pair across two is seen.
std::uint64_t trimmedLength(ByteSource& file, std::uint64_t length) {
  std::uint64_t end = length;  // one past the last byte still to search
  std::uint64_t pieceBytes = kEndMarkerBytes;
  while (end > 2) {
    const std::uint64_t start = end - std::min(end - 1, pieceBytes);
    pieceBytes = pieceBytes == kEndMarkerBytes ? kPageBytes : kSearchPieceBytes;
    const unsigned char* piece = file.bytesAt(start, end - start);
    if (piece == nullptr) return 0;
    for (std::uint64_t i = end - start - 1; i-- > 0;) {
      if (piece[i] == 0xFF && piece[i + 1] == 0xD9) return start + i + 2;
    }
    end = start + 1;
  }
  return 0;
}

// The position of the first FF E1 pair that ends before `end`, or `end` when there is
// none. A plain byte search, not a walk over the segments.
std::uint64_t app1Position(ByteSource& file, std::uint64_t end) {
  std::uint64_t start = 0;
  std::uint64_t pieceBytes = kPageBytes;
  while (start + 1 < end) {
    const std::uint64_t pieceEnd = start + std::min(end - start, pieceBytes);
    pieceBytes = kSearchPieceBytes;
    const unsigned char* piece = file.bytesAt(start, pieceEnd - start);
    if (piece == nullptr) return end;
    const unsigned char* at = findBytePair(piece, piece + (pieceEnd - start), 0xFF, 0xE1);
    if (at != nullptr) return start + static_cast<std::uint64_t>(at - piece);
    start = pieceEnd - 1;
  }
  return end;
}

// A directory is its 16-bit entry count, 12 bytes per entry and the 4-byte offset
// of the next directory, which is never followed but must lie inside the block.
bool directoryFits(const ExifBlock& block, std::uint64_t position, std::uint16_t entryCount) {
  return block.fits(position, 2 + 12 * std::uint64_t{entryCount} + 4);
}

std::uint64_t entryPosition(std::uint64_t directory, unsigned index) {
  return directory + 2 + 12 * std::uint64_t{index};
}

// Walks the directory at `position` (which fits) and applies the entries that last. A
// hostile directory can hold 65,535 entries, each with a value as large as the block;
// decoding them all would copy the block that many times. So the walk first reads the
// fixed fields of every entry, backwards, and marks an entry only when its table acts
// on it and no later entry of the same tag sets as many fields; then it decodes and
// applies the marked entries in file order, each no further than its rule reads. The
// result is the one that applying every entry in order gives.
template <typename UseOf, typename Apply>
void walkDirectory(const ExifBlock& block, std::uint64_t position, UseOf useOf, Apply apply) {
  const std::uint16_t count = block.u16(position);
  std::vector<EntryUse> lasting(count);
  // Tag and the most fields a later entry of it sets; only listed tags come in, so a
  // handful of them.
  std::vector<std::pair<std::uint16_t, unsigned>> setLater;
  for (unsigned i = count; i-- > 0;) {
    const RawIfdEntry raw = rawIfdEntryAt(block, entryPosition(position, i));
    const EntryUse use = useOf(raw, block);
    if (use.fieldsSet == 0) continue;
    auto later = std::find_if(setLater.begin(), setLater.end(),
                              [&](const auto& seen) { return seen.first == raw.tag; });
    if (later == setLater.end()) later = setLater.insert(later, {raw.tag, 0});
    if (use.fieldsSet > later->second) lasting[i] = use;
    later->second = std::max(later->second, use.fieldsSet);
  }
  for (unsigned i = 0; i < count; ++i) {
    if (lasting[i].fieldsSet == 0) continue;
    IfdEntry entry = decodeIfdEntry(block, entryPosition(position, i), lasting[i].limits);
    apply(entry);
  }
}

// A directory that starts too close to the end of the block is skipped, not an error;
// one that starts in the block but claims more entries than fit is corrupt.
enum class DirectoryPlace { skipped, fits, corrupt };
DirectoryPlace placeOf(const ExifBlock& block, std::optional<std::uint32_t> offset) {
  if (!offset || !block.fits(block.positionOf(*offset), 4)) return DirectoryPlace::skipped;
  const std::uint64_t position = block.positionOf(*offset);
  return directoryFits(block, position, block.u16(position)) ? DirectoryPlace::fits
                                                             : DirectoryPlace::corrupt;
}

// The TIFF structure whose header lies at `header`: byte order, magic, IFD0 and the
// EXIF and GPS directories it points at. `pointers` gets what IFD0 points at.
ExifStatus parseTiffAt(ExifBlock& block, std::uint64_t header, ExifMetadata& metadata,
                       DirectoryPointers& pointers) {
  if (block.length() < header + 8) return ExifStatus::corrupt;

  const unsigned char* mark = block.bytes(header, 2);
  if (mark == nullptr) return ExifStatus::badByteOrder;
  if (mark[0] == 'I' && mark[1] == 'I') {
    block.setLittleEndian(true);
  } else if (mark[0] == 'M' && mark[1] == 'M') {
    block.setLittleEndian(false);
  } else {
    return ExifStatus::badByteOrder;
  }
  metadata.littleEndian = block.littleEndian();
  if (block.u16(header + 2) != 42) return ExifStatus::corrupt;

  const std::uint64_t ifd0 = block.positionOf(block.u32(header + 4));
  if (!block.fits(ifd0, 2) || !directoryFits(block, ifd0, block.u16(ifd0))) {
    return ExifStatus::corrupt;
  }
  walkDirectory(block, ifd0, ifd0EntryUse,
                [&](IfdEntry& entry) { applyIfd0Entry(entry, metadata, pointers); });

  const DirectoryPlace exif = placeOf(block, pointers.exifSubIfd);
  if (exif == DirectoryPlace::corrupt) return ExifStatus::corrupt;
  if (exif == DirectoryPlace::fits) {
    walkDirectory(block, block.positionOf(*pointers.exifSubIfd), exifSubIfdEntryUse,
                  [&](IfdEntry& entry) { applyExifSubIfdEntry(entry, metadata); });
  }

  const DirectoryPlace gps = placeOf(block, pointers.gps);
  if (gps == DirectoryPlace::corrupt) return ExifStatus::corrupt;
  if (gps == DirectoryPlace::fits) {
    const std::uint64_t position = block.positionOf(*pointers.gps);
    const std::uint16_t count = block.u16(position);
    for (unsigned i = 0; i < count; ++i) {
      applyGpsEntry(rawIfdEntryAt(block, entryPosition(position, i)), block, metadata.gps);
    }
  }
  return ExifStatus::ok;
}

ExifStatus parseBlock(ExifBlock& block, ExifMetadata& metadata) {
  if (block.length() < 6) return ExifStatus::noExif;
  const unsigned char* header = block.bytes(0, 6);
  if (header == nullptr || std::memcmp(header, kExifHeader, sizeof kExifHeader) != 0) {
    return ExifStatus::noExif;
  }
  DirectoryPointers pointers;
  return parseTiffAt(block, kTiffHeaderPosition, metadata, pointers);
}

// The size of a DNG's full-resolution image: IFD0 when it is that image, else the
// first of its SubIFDs that is. An empty size when none is.
FrameSize fullResolutionSize(const ExifBlock& block, const ExifMetadata& metadata,
                             const DirectoryPointers& pointers) {
  if (metadata.newSubfileType == 0) return FrameSize{metadata.imageWidth, metadata.imageLength};
  for (const std::uint32_t offset : pointers.subIfds) {
    if (placeOf(block, offset) != DirectoryPlace::fits) continue;
    ExifMetadata image;
    DirectoryPointers unused;
    walkDirectory(block, block.positionOf(offset), ifd0EntryUse,
                  [&](IfdEntry& entry) { applyIfd0Entry(entry, image, unused); });
    if (image.newSubfileType == 0) return FrameSize{image.imageWidth, image.imageLength};
  }
  return {};
}

}  // namespace

void ExifMetadata::reset() { *this = ExifMetadata(); }

ExifStatus ExifMetadata::parseJpeg(const unsigned char* data, std::uint32_t length) {
  if (data == nullptr) return ExifStatus::notJpeg;
  MemoryBytes file(data, length);
  return parseJpeg(file);
}

ExifStatus ExifMetadata::parseJpeg(ByteSource& file, bool withLayout) {
  const std::uint64_t length = file.size();
  if (length < 4 || length > std::numeric_limits<std::uint32_t>::max()) {
    return ExifStatus::notJpeg;
  }
  const unsigned char* start = file.bytesAt(0, 2);
  if (start == nullptr || start[0] != 0xFF || start[1] != 0xD8) return ExifStatus::notJpeg;

  // Everything after the last end-of-image marker is ignored.
  const std::uint64_t end = trimmedLength(file, length);
  if (end == 0) return ExifStatus::notJpeg;

  reset();
  if (withLayout) {
    // The whole file: a frame header does not depend on where the last end marker lies.
    const JpegLayout layout = jpegLayout(file, length);
    frameWidth = layout.frame.width;
    frameHeight = layout.frame.height;
    xmpPacket = {layout.xmp.at, layout.xmp.length};
  }

  const std::uint64_t app1 = app1Position(file, end);
  if (app1 + 4 > end) return ExifStatus::noExif;

  // The segment length is big-endian whatever the TIFF byte order, and counts itself.
  const unsigned char* lengthBytes = file.bytesAt(app1 + 2, 2);
  if (lengthBytes == nullptr) return ExifStatus::corrupt;
  const std::uint32_t segmentLength = readU16(lengthBytes, false);
  if (app1 + 2 + segmentLength > end || segmentLength < 16) return ExifStatus::corrupt;

  // The block runs to the trimmed end, not to the end of the segment.
  ExifBlock block(file, app1 + 4, static_cast<std::uint32_t>(end - app1 - 4));
  return parseBlock(block, *this);
}

ExifStatus ExifMetadata::parseExifBlock(const unsigned char* block, std::uint32_t blockLength) {
  if (block == nullptr) return ExifStatus::noExif;
  MemoryBytes bytes(block, blockLength);
  ExifBlock view(bytes, 0, blockLength);
  return parseBlock(view, *this);
}

ExifStatus ExifMetadata::parseTiff(ByteSource& file) {
  const std::uint64_t length = file.size();
  if (length < 8 || length > std::numeric_limits<std::uint32_t>::max()) {
    return ExifStatus::notJpeg;
  }
  const unsigned char* start = file.bytesAt(0, 4);
  const bool little = start != nullptr && start[0] == 'I' && start[1] == 'I' &&
                      readU16(start + 2, true) == 42;
  const bool big = start != nullptr && start[0] == 'M' && start[1] == 'M' &&
                   readU16(start + 2, false) == 42;
  if (!little && !big) return ExifStatus::notJpeg;

  reset();
  // The whole file is the structure, and its offsets count from its first byte.
  ExifBlock block(file, 0, static_cast<std::uint32_t>(length), 0);
  DirectoryPointers pointers;
  const ExifStatus status = parseTiffAt(block, 0, *this, pointers);
  if (status != ExifStatus::ok) return status;

  const FrameSize frame = dng ? fullResolutionSize(block, *this, pointers)
                              : FrameSize{imageWidth, imageLength};
  frameWidth = frame.width;
  frameHeight = frame.height;
  // A DNG's EXIF tags, where it has them, may describe a preview; its image is the frame.
  if (pixelWidth == 0 || (dng && frame.width != 0)) pixelWidth = frame.width;
  if (pixelHeight == 0 || (dng && frame.height != 0)) pixelHeight = frame.height;
  return ExifStatus::ok;
}

ExifStatus ExifMetadata::parseTiff(const unsigned char* data, std::uint32_t length) {
  if (data == nullptr) return ExifStatus::notJpeg;
  MemoryBytes file(data, length);
  return parseTiff(file);
}
