// An EXIF block as the reader sees it: where it lies in its source, how long it is and
// its byte order. Every bounds check of the reader is a call to fits(), and every
// offset of the block becomes a position through positionOf(), so that the arithmetic
// that keeps a hostile offset inside the block is written once.
#ifndef PRECHECK_EXIF_EXIF_BLOCK_H_
#define PRECHECK_EXIF_EXIF_BLOCK_H_

#include <cstddef>
#include <cstdint>

#include "exif/byte_order.h"
#include "exif/byte_source.h"

// Offsets in an EXIF block count from the TIFF header, which follows "Exif\0\0".
constexpr std::uint32_t kTiffHeaderPosition = 6;

class ExifBlock {
 public:
  // The `length` bytes of `source` from `start`. Offsets count from `base`.
  ExifBlock(ByteSource& source, std::uint64_t start, std::uint32_t length,
            std::uint32_t base = kTiffHeaderPosition)
      : source_(source), start_(start), length_(length), base_(base) {}

  std::uint32_t length() const { return length_; }
  bool littleEndian() const { return littleEndian_; }
  void setLittleEndian(bool littleEndian) { littleEndian_ = littleEndian; }

  // Whether `size` bytes from `position` lie inside the block. 64-bit: a position made
  // from an offset near 2^32, or a size from a count near 2^32, cannot wrap around.
  bool fits(std::uint64_t position, std::uint64_t size) const {
    return position <= length_ && size <= length_ - position;
  }

  // The block position of something stored at `offset`.
  std::uint64_t positionOf(std::uint32_t offset) const { return std::uint64_t{base_} + offset; }

  // The `size` bytes at `position`, which the caller has found to fit; readable until
  // the next read of the block. nullptr when the source cannot give them.
  const unsigned char* bytes(std::uint64_t position, std::size_t size) const {
    return source_.bytesAt(start_ + position, size);
  }
  // Where `position` lies in the source, for reading a value again later.
  std::uint64_t sourceOffset(std::uint64_t position) const { return start_ + position; }
  bool copy(std::uint64_t position, std::size_t size, unsigned char* destination) const {
    return source_.copyTo(start_ + position, size, destination);
  }

  // Numbers in the block's byte order at a position that fits; 0 when the source cannot
  // give them, which its owner learns from the source.
  std::uint16_t u16(std::uint64_t position) const;
  std::uint32_t u32(std::uint64_t position) const;
  Rational rational(std::uint64_t position) const;

 private:
  ByteSource& source_;
  std::uint64_t start_;
  std::uint32_t length_;
  std::uint32_t base_;
  bool littleEndian_ = false;
};

#endif  // PRECHECK_EXIF_EXIF_BLOCK_H_
