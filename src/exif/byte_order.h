// Numbers of an EXIF block, read in the block's byte order ("II" or "MM").
#ifndef PRECHECK_EXIF_BYTE_ORDER_H_
#define PRECHECK_EXIF_BYTE_ORDER_H_

#include <cstdint>

// A TIFF rational. Both halves are unsigned, also where the file declares a signed one.
struct Rational {
  std::uint32_t numerator = 0;
  std::uint32_t denominator = 0;
};

// The caller guarantees that the 2, 4 or 8 bytes at `bytes` are readable.
std::uint16_t readU16(const unsigned char* bytes, bool littleEndian);
std::uint32_t readU32(const unsigned char* bytes, bool littleEndian);
Rational readRational(const unsigned char* bytes, bool littleEndian);

// numerator / denominator, or 0.0 for a zero denominator (cameras write 0/0 for
// "unknown", and such a value must read as absent rather than as infinity or NaN).
double rationalAsDouble(Rational value);

#endif  // PRECHECK_EXIF_BYTE_ORDER_H_
