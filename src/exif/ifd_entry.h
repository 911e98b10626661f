// One 12-byte entry of an image file directory (IFD): its tag, type, count and value,
// with the value copied out of the block after checking that the block holds it.
#ifndef PRECHECK_EXIF_IFD_ENTRY_H_
#define PRECHECK_EXIF_IFD_ENTRY_H_

#include <cstdint>
#include <limits>
#include <string>
#include <variant>
#include <vector>

#include "exif/byte_order.h"
#include "exif/exif_block.h"

// Field type codes this reader knows. Codes 7, 9 and 10 are accepted without reading
// their value; every code not listed here is refused.
constexpr std::uint16_t kTypeByte = 1;
constexpr std::uint16_t kTypeAscii = 2;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;
constexpr std::uint16_t kTypeRational = 5;
constexpr std::uint16_t kTypeUndefined = 7;
constexpr std::uint16_t kTypeSlong = 9;
constexpr std::uint16_t kTypeSrational = 10;

constexpr std::uint16_t noFieldType = 255;  // no accepted type
constexpr std::uint16_t invalidTag = 255;   // the entry could not be decoded

// The owned value of an entry: nothing (types 7, 9, 10 and none), or the values of a
// BYTE, ASCII, SHORT, LONG or RATIONAL entry. Its kind always follows `fieldType`.
using IfdValue = std::variant<std::monostate, std::vector<std::uint8_t>, std::string,
                              std::vector<std::uint16_t>, std::vector<std::uint32_t>,
                              std::vector<Rational>>;

struct IfdEntry {
  std::uint16_t tag = invalidTag;
  std::uint16_t fieldType = noFieldType;
  std::uint32_t valueOffset = 0;  // the 4-byte value field: inline value or offset
  std::uint32_t count = 0;        // number of elements, not bytes
  std::uint64_t valueAt = 0;      // where the value lies in the source, once decoded
  IfdValue value;

  // Takes an accepted type code and an empty value of its kind; returns false and
  // changes nothing for a refused code.
  bool setFieldType(std::uint16_t code);
};

// The four fixed fields of an entry, without its value.
struct RawIfdEntry {
  std::uint16_t tag = 0;
  std::uint16_t fieldType = 0;
  std::uint32_t count = 0;
  std::uint32_t valueOffset = 0;
};

// No bounds check: the caller guarantees that the 12 bytes at `bytes` are readable.
RawIfdEntry readRawIfdEntry(const unsigned char* bytes, bool littleEndian);

// The entry at `position` of `block`, which the caller has found to fit.
RawIfdEntry rawIfdEntryAt(const ExifBlock& block, std::uint64_t position);

// Whether decoding keeps the tag of this entry: an accepted type and, for a type whose
// value is read, a value inside the block.
bool entryDecodes(const RawIfdEntry& raw, const ExifBlock& block);

// How much of a value is copied out. A count comes from the file and may claim
// billions of elements where the reader uses the first few; a text the program never
// shows need not be copied whole.
struct ValueLimits {
  std::uint32_t elements = std::numeric_limits<std::uint32_t>::max();
  std::uint32_t textBytes = std::numeric_limits<std::uint32_t>::max();
};

// Decodes the entry at `entryPosition` of `block`, its value cut to `limits`. A text cut
// short keeps all the bytes it holds, its NUL included. Failure is returned as `tag` ==
// invalidTag: for an entry that does not fit the block (the empty entry), a refused
// type, or a value that would lie outside the block (then `fieldType`, `count` and
// `valueOffset` are kept).
IfdEntry decodeIfdEntry(const ExifBlock& block, std::uint64_t entryPosition,
                        const ValueLimits& limits = {});

// The same on a block held in memory, whose values lie at `base` + `valueOffset`.
IfdEntry decodeIfdEntry(const unsigned char* block, std::uint32_t entryPosition,
                        bool littleEndian, std::uint32_t base, std::uint32_t blockLength);

#endif  // PRECHECK_EXIF_IFD_ENTRY_H_
