#include "exif/gps_tags.h"

namespace {

// The GPS directory's tags.
constexpr std::uint16_t kLatitudeRef = 0x0001;
constexpr std::uint16_t kLatitude = 0x0002;
constexpr std::uint16_t kLongitudeRef = 0x0003;
constexpr std::uint16_t kLongitude = 0x0004;
constexpr std::uint16_t kAltitudeRef = 0x0005;
constexpr std::uint16_t kAltitude = 0x0006;
constexpr std::uint16_t kDop = 0x000B;

bool isRationalType(std::uint16_t fieldType) {
  return fieldType == kTypeRational || fieldType == kTypeSrational;
}

// Reads `count` rationals at the entry's offset into `values`, always from the offset,
// never from the value field. Returns false, reading nothing, when they would not all
// lie inside the block.
// `undefined`, when given, tells whether any of them has a zero denominator.
bool readRationalsAt(const RawIfdEntry& entry, const ExifBlock& block, double* values,
                     unsigned count, bool* undefined = nullptr) {
  const std::uint64_t start = block.positionOf(entry.valueOffset);
  if (!block.fits(start, 8u * count)) return false;
  if (undefined != nullptr) *undefined = false;
  for (unsigned i = 0; i < count; ++i) {
    const Rational value = block.rational(start + 8 * i);
    values[i] = rationalAsDouble(value);
    if (undefined != nullptr && value.denominator == 0) *undefined = true;
  }
  return true;
}

// The reference letter sits in the first byte of the value field, in file order,
// whatever the byte order of the block.
char referenceByte(const RawIfdEntry& entry, bool littleEndian) {
  return static_cast<char>(littleEndian ? entry.valueOffset & 0xFF : entry.valueOffset >> 24);
}

void takeReference(char letter, char negatingLetter, GpsAngle& parts, double& coordinate) {
  parts.direction = letter == '\0' ? '?' : letter;
  if (letter == negatingLetter) coordinate = -coordinate;
}

bool takeCoordinate(const RawIfdEntry& entry, const ExifBlock& block, char negatingLetter,
                    GpsAngle& parts, double& coordinate) {
  if (!isRationalType(entry.fieldType) || entry.count != 3) return false;
  double values[3];
  if (!readRationalsAt(entry, block, values, 3, &parts.undefined)) return false;
  parts.degrees = values[0];
  parts.minutes = values[1];
  parts.seconds = values[2];
  coordinate = decimalDegrees(parts);
  if (parts.direction == negatingLetter) coordinate = -coordinate;
  return true;
}

}  // namespace

double decimalDegrees(const GpsAngle& angle) {
  return (angle.minutes / 60.0 + angle.degrees) + angle.seconds / 3600.0;
}

void applyGpsEntry(const RawIfdEntry& entry, const ExifBlock& block, GpsInfo& gps) {
  const bool little = block.littleEndian();
  switch (entry.tag) {
    case kLatitudeRef:
      takeReference(referenceByte(entry, little), 'S', gps.latitudeParts, gps.latitude);
      break;
    case kLatitude:
      if (takeCoordinate(entry, block, 'S', gps.latitudeParts, gps.latitude)) {
        gps.hasLatitude = true;
      }
      break;
    case kLongitudeRef:
      takeReference(referenceByte(entry, little), 'W', gps.longitudeParts, gps.longitude);
      break;
    case kLongitude:
      if (takeCoordinate(entry, block, 'W', gps.longitudeParts, gps.longitude)) {
        gps.hasLongitude = true;
      }
      break;
    case kAltitudeRef:
      gps.altitudeRef = static_cast<std::uint8_t>(referenceByte(entry, little));
      if (gps.altitudeRef == 1) gps.altitude = -gps.altitude;
      break;
    case kAltitude:
      if (isRationalType(entry.fieldType) && readRationalsAt(entry, block, &gps.altitude, 1)) {
        gps.hasAltitude = true;
        if (gps.altitudeRef == 1) gps.altitude = -gps.altitude;
      }
      break;
    case kDop:
      if (isRationalType(entry.fieldType)) readRationalsAt(entry, block, &gps.dop, 1);
      break;
    default:
      break;
  }
}
