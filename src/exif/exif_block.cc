#include "exif/exif_block.h"

std::uint16_t ExifBlock::u16(std::uint64_t position) const {
  const unsigned char* at = bytes(position, 2);
  return at != nullptr ? readU16(at, littleEndian_) : 0;
}

std::uint32_t ExifBlock::u32(std::uint64_t position) const {
  const unsigned char* at = bytes(position, 4);
  return at != nullptr ? readU32(at, littleEndian_) : 0;
}

Rational ExifBlock::rational(std::uint64_t position) const {
  const unsigned char* at = bytes(position, 8);
  return at != nullptr ? readRational(at, littleEndian_) : Rational{};
}
