#include "exif/byte_order.h"

std::uint16_t readU16(const unsigned char* bytes, bool littleEndian) {
  unsigned first = bytes[0];
  unsigned second = bytes[1];
  return static_cast<std::uint16_t>(littleEndian ? (second << 8) | first
                                                 : (first << 8) | second);
}

std::uint32_t readU32(const unsigned char* bytes, bool littleEndian) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    value = (value << 8) | bytes[littleEndian ? 3 - i : i];
  }
  return value;
}

Rational readRational(const unsigned char* bytes, bool littleEndian) {
  return Rational{readU32(bytes, littleEndian), readU32(bytes + 4, littleEndian)};
}

double rationalAsDouble(Rational value) {
  double denominator = static_cast<double>(value.denominator);
  if (denominator < 1e-20) return 0.0;
  return static_cast<double>(value.numerator) / denominator;
}
