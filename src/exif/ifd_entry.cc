#include "exif/ifd_entry.h"

namespace {

std::uint64_t elementSize(std::uint16_t fieldType) {
  switch (fieldType) {
    case typeShort:
      return 2;
    case typeLong:
      return 4;
    case typeRational:
      return 8;
    default:
      return 1;  // BYTE and ASCII
  }
}

// Fills the (empty) container of `entry` from the `entry.count` elements at `bytes`.
void fillValue(IfdEntry& entry, const unsigned char* bytes, bool littleEndian) {
  const std::size_t count = entry.count;
  if (auto* bytesValue = std::get_if<std::vector<std::uint8_t>>(&entry.value)) {
    bytesValue->assign(bytes, bytes + count);
  } else if (auto* text = std::get_if<std::string>(&entry.value)) {
    text->assign(reinterpret_cast<const char*>(bytes), count);
    // Writers end ASCII values with one NUL; only that terminator is dropped.
    if (!text->empty() && text->back() == '\0') text->pop_back();
  } else if (auto* shorts = std::get_if<std::vector<std::uint16_t>>(&entry.value)) {
    shorts->resize(count);
    for (std::size_t i = 0; i < count; ++i) (*shorts)[i] = readU16(bytes + 2 * i, littleEndian);
  } else if (auto* longs = std::get_if<std::vector<std::uint32_t>>(&entry.value)) {
    longs->resize(count);
    for (std::size_t i = 0; i < count; ++i) (*longs)[i] = readU32(bytes + 4 * i, littleEndian);
  } else if (auto* rationals = std::get_if<std::vector<Rational>>(&entry.value)) {
    rationals->resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      (*rationals)[i] = readRational(bytes + 8 * i, littleEndian);
    }
  }
}

// 64-bit: a count near 2^32 times the element size must not wrap.
std::uint64_t valueSize(const RawIfdEntry& raw) {
  return std::uint64_t{raw.count} * elementSize(raw.fieldType);
}

// Up to 4 bytes sit in the entry's value field; a longer value must end inside the
// block, computed without wrap-around so that an offset near 2^32 cannot come back.
bool valueFits(const RawIfdEntry& raw, std::uint32_t base, std::uint32_t blockLength) {
  const std::uint64_t size = valueSize(raw);
  return size <= 4 || std::uint64_t{base} + raw.valueOffset + size <= blockLength;
}

}  // namespace

bool IfdEntry::setFieldType(std::uint16_t code) {
  switch (code) {
    case typeByte:
      value = std::vector<std::uint8_t>();
      break;
    case typeAscii:
      value = std::string();
      break;
    case typeShort:
      value = std::vector<std::uint16_t>();
      break;
    case typeLong:
      value = std::vector<std::uint32_t>();
      break;
    case typeRational:
      value = std::vector<Rational>();
      break;
    case typeUndefined:
    case typeSlong:
    case typeSrational:
    case noFieldType:
      value = std::monostate();
      break;
    default:
      return false;
  }
  fieldType = code;
  return true;
}

bool entryDecodes(const RawIfdEntry& raw, std::uint32_t base, std::uint32_t blockLength) {
  switch (raw.fieldType) {
    case typeByte:
    case typeAscii:
    case typeShort:
    case typeLong:
    case typeRational:
      return valueFits(raw, base, blockLength);
    case typeUndefined:
    case typeSlong:
    case typeSrational:
      return true;
    default:
      return false;  // refused codes and noFieldType
  }
}

IfdEntry decodeIfdEntry(const unsigned char* block, std::uint32_t entryPosition,
                        bool littleEndian, std::uint32_t base, std::uint32_t blockLength) {
  IfdEntry entry;
  if (std::uint64_t{entryPosition} + 12 > blockLength) return entry;

  const unsigned char* bytes = block + entryPosition;
  RawIfdEntry raw = readRawIfdEntry(bytes, littleEndian);
  entry.tag = raw.tag;
  entry.setFieldType(raw.fieldType);
  entry.count = raw.count;
  entry.valueOffset = raw.valueOffset;

  if (entry.fieldType == noFieldType) {
    entry.tag = invalidTag;
    return entry;
  }
  // UNDEFINED, SLONG and SRATIONAL: accepted, but no listed tag needs their value.
  if (std::holds_alternative<std::monostate>(entry.value)) return entry;

  if (!valueFits(raw, base, blockLength)) {
    entry.tag = invalidTag;
    return entry;
  }
  if (valueSize(raw) <= 4) {
    fillValue(entry, bytes + 8, littleEndian);
  } else {
    fillValue(entry, block + base + entry.valueOffset, littleEndian);
  }
  return entry;
}

RawIfdEntry readRawIfdEntry(const unsigned char* bytes, bool littleEndian) {
  RawIfdEntry raw;
  raw.tag = readU16(bytes, littleEndian);
  raw.fieldType = readU16(bytes + 2, littleEndian);
  raw.count = readU32(bytes + 4, littleEndian);
  raw.valueOffset = readU32(bytes + 8, littleEndian);
  return raw;
}
