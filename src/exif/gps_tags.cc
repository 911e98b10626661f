#include "exif/gps_tags.h"

namespace {

bool isRationalType(std::uint16_t fieldType) {
  return fieldType == typeRational || fieldType == typeSrational;
}

// Reads `count` rationals at the entry's offset into `values`. Returns false, reading
// nothing, when they would not all lie inside the block.
bool readRationalsAt(const RawIfdEntry& entry, const unsigned char* block,
                     std::uint32_t blockLength, bool littleEndian, double* values,
                     unsigned count) {
  const std::uint64_t start = std::uint64_t{entry.valueOffset} + tiffHeaderPosition;
  if (start + 8u * count > blockLength) return false;
  for (unsigned i = 0; i < count; ++i) {
    values[i] = rationalAsDouble(readRational(block + start + 8 * i, littleEndian));
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

void takeCoordinate(const RawIfdEntry& entry, const unsigned char* block,
                    std::uint32_t blockLength, bool littleEndian, char negatingLetter,
                    GpsAngle& parts, double& coordinate) {
  if (!isRationalType(entry.fieldType) || entry.count != 3) return;
  double values[3];
  if (!readRationalsAt(entry, block, blockLength, littleEndian, values, 3)) return;
  parts.degrees = values[0];
  parts.minutes = values[1];
  parts.seconds = values[2];
  coordinate = decimalDegrees(parts);
  if (parts.direction == negatingLetter) coordinate = -coordinate;
}

}  // namespace

double decimalDegrees(const GpsAngle& angle) {
  return (angle.minutes / 60.0 + angle.degrees) + angle.seconds / 3600.0;
}

void applyGpsEntry(const RawIfdEntry& entry, const unsigned char* block,
                   std::uint32_t blockLength, bool littleEndian, GpsInfo& gps) {
  switch (entry.tag) {
    case 0x0001:
      takeReference(referenceByte(entry, littleEndian), 'S', gps.latitudeParts, gps.latitude);
      break;
    case 0x0002:
      takeCoordinate(entry, block, blockLength, littleEndian, 'S', gps.latitudeParts,
                     gps.latitude);
      break;
    case 0x0003:
      takeReference(referenceByte(entry, littleEndian), 'W', gps.longitudeParts, gps.longitude);
      break;
    case 0x0004:
      takeCoordinate(entry, block, blockLength, littleEndian, 'W', gps.longitudeParts,
                     gps.longitude);
      break;
    case 0x0005:
      gps.altitudeRef = static_cast<std::uint8_t>(referenceByte(entry, littleEndian));
      if (gps.altitudeRef == 1) gps.altitude = -gps.altitude;
      break;
    case 0x0006:
      if (isRationalType(entry.fieldType) &&
          readRationalsAt(entry, block, blockLength, littleEndian, &gps.altitude, 1) &&
          gps.altitudeRef == 1) {
        gps.altitude = -gps.altitude;
      }
      break;
    case 0x000B:
      if (isRationalType(entry.fieldType)) {
        readRationalsAt(entry, block, blockLength, littleEndian, &gps.dop, 1);
      }
      break;
    default:
      break;
  }
}
