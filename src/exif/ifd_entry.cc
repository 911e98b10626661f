#include "exif/ifd_entry.h"

#include <algorithm>
#include <cstddef>

namespace {

enum class ValueKind { none, bytes, text, shorts, longs, rationals };

// The one list of the type codes: the size of one element and the kind of value.
struct FieldType {
  std::uint16_t code;
  std::uint8_t elementSize;  // 0 for the types whose value is never read
  ValueKind kind;
};

constexpr FieldType kFieldTypes[] = {
    {kTypeByte, 1, ValueKind::bytes},     {kTypeAscii, 1, ValueKind::text},
    {kTypeShort, 2, ValueKind::shorts},   {kTypeLong, 4, ValueKind::longs},
    {kTypeRational, 8, ValueKind::rationals}, {kTypeUndefined, 0, ValueKind::none},
    {kTypeSlong, 0, ValueKind::none},     {kTypeSrational, 0, ValueKind::none},
    {noFieldType, 0, ValueKind::none},
};

const FieldType* fieldTypeOf(std::uint16_t code) {
  for (const FieldType& type : kFieldTypes) {
    if (type.code == code) return &type;
  }
  return nullptr;
}

IfdValue emptyValueOf(ValueKind kind) {
  switch (kind) {
    case ValueKind::bytes: return std::vector<std::uint8_t>();
    case ValueKind::text: return std::string();
    case ValueKind::shorts: return std::vector<std::uint16_t>();
    case ValueKind::longs: return std::vector<std::uint32_t>();
    case ValueKind::rationals: return std::vector<Rational>();
    case ValueKind::none: break;
  }
  return std::monostate();
}

// Up to 4 bytes sit in the entry's value field.
constexpr std::uint64_t kInlineValueBytes = 4;

// 64-bit: a count near 2^32 times the element size must not wrap.
std::uint64_t valueSize(const RawIfdEntry& raw, const FieldType& type) {
  return std::uint64_t{raw.count} * type.elementSize;
}

// Where the value of the entry at `entryPosition` lies: in its value field when it
// fits there, else at its offset.
std::uint64_t valuePosition(const ExifBlock& block, std::uint64_t entryPosition,
                            const RawIfdEntry& raw, std::uint64_t size) {
  return size <= kInlineValueBytes ? entryPosition + 8 : block.positionOf(raw.valueOffset);
}

bool valueFits(const ExifBlock& block, const RawIfdEntry& raw, const FieldType& type) {
  const std::uint64_t size = valueSize(raw, type);
  return size <= kInlineValueBytes || block.fits(block.positionOf(raw.valueOffset), size);
}

template <typename Number, typename Read>
void fillNumbers(std::vector<Number>& numbers, std::uint32_t count, std::size_t elementSize,
                 const unsigned char* bytes, Read read) {
  if (bytes == nullptr) return;
  numbers.resize(count);
  for (std::size_t i = 0; i < count; ++i) numbers[i] = read(bytes + elementSize * i);
}

// Fills the (empty) value of `entry` from the block at `position`, at most `limits`.
void fillValue(IfdEntry& entry, const ExifBlock& block, std::uint64_t position,
               const ValueLimits& limits) {
  const bool little = block.littleEndian();
  const std::uint32_t elements = std::min(entry.count, limits.elements);
  if (auto* text = std::get_if<std::string>(&entry.value)) {
    const std::uint32_t length = std::min(entry.count, limits.textBytes);
    text->resize(length);
    if (!block.copy(position, length, reinterpret_cast<unsigned char*>(text->data()))) {
      text->clear();
      return;
    }
    // Writers end ASCII values with one NUL; only that terminator is dropped.
    if (length == entry.count && !text->empty() && text->back() == '\0') text->pop_back();
  } else if (auto* bytes = std::get_if<std::vector<std::uint8_t>>(&entry.value)) {
    fillNumbers(*bytes, elements, 1, block.bytes(position, elements),
                [](const unsigned char* at) { return *at; });
  } else if (auto* shorts = std::get_if<std::vector<std::uint16_t>>(&entry.value)) {
    fillNumbers(*shorts, elements, 2, block.bytes(position, 2 * std::size_t{elements}),
                [little](const unsigned char* at) { return readU16(at, little); });
  } else if (auto* longs = std::get_if<std::vector<std::uint32_t>>(&entry.value)) {
    fillNumbers(*longs, elements, 4, block.bytes(position, 4 * std::size_t{elements}),
                [little](const unsigned char* at) { return readU32(at, little); });
  } else if (auto* rationals = std::get_if<std::vector<Rational>>(&entry.value)) {
    fillNumbers(*rationals, elements, 8, block.bytes(position, 8 * std::size_t{elements}),
                [little](const unsigned char* at) { return readRational(at, little); });
  }
}

}  // namespace

bool IfdEntry::setFieldType(std::uint16_t code) {
  const FieldType* type = fieldTypeOf(code);
  if (type == nullptr) return false;
  value = emptyValueOf(type->kind);
  fieldType = code;
  return true;
}

RawIfdEntry readRawIfdEntry(const unsigned char* bytes, bool littleEndian) {
  RawIfdEntry raw;
  raw.tag = readU16(bytes, littleEndian);
  raw.fieldType = readU16(bytes + 2, littleEndian);
  raw.count = readU32(bytes + 4, littleEndian);
  raw.valueOffset = readU32(bytes + 8, littleEndian);
  return raw;
}

RawIfdEntry rawIfdEntryAt(const ExifBlock& block, std::uint64_t position) {
  const unsigned char* bytes = block.bytes(position, 12);
  return bytes != nullptr ? readRawIfdEntry(bytes, block.littleEndian()) : RawIfdEntry{};
}

bool entryDecodes(const RawIfdEntry& raw, const ExifBlock& block) {
  const FieldType* type = fieldTypeOf(raw.fieldType);
  if (type == nullptr || type->code == noFieldType) return false;
  // UNDEFINED, SLONG and SRATIONAL: accepted, but no listed tag needs their value.
  return type->kind == ValueKind::none || valueFits(block, raw, *type);
}

IfdEntry decodeIfdEntry(const ExifBlock& block, std::uint64_t entryPosition,
                        const ValueLimits& limits) {
  IfdEntry entry;
  if (!block.fits(entryPosition, 12)) return entry;

  const RawIfdEntry raw = rawIfdEntryAt(block, entryPosition);
  entry.setFieldType(raw.fieldType);
  entry.count = raw.count;
  entry.valueOffset = raw.valueOffset;
  if (!entryDecodes(raw, block)) return entry;

  entry.tag = raw.tag;
  const FieldType* type = fieldTypeOf(raw.fieldType);
  if (type->kind != ValueKind::none) {
    const std::uint64_t position =
        valuePosition(block, entryPosition, raw, valueSize(raw, *type));
    entry.valueAt = block.sourceOffset(position);
    fillValue(entry, block, position, limits);
  }
  return entry;
}

IfdEntry decodeIfdEntry(const unsigned char* block, std::uint32_t entryPosition,
                        bool littleEndian, std::uint32_t base, std::uint32_t blockLength) {
  MemoryBytes bytes(block, blockLength);
  ExifBlock view(bytes, 0, blockLength, base);
  view.setLittleEndian(littleEndian);
  return decodeIfdEntry(view, entryPosition);
}
