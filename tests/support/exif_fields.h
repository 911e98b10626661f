// Every field of an ExifMetadata record as one tuple, for comparing whole records.
#ifndef PRECHECK_TESTS_SUPPORT_EXIF_FIELDS_H_
#define PRECHECK_TESTS_SUPPORT_EXIF_FIELDS_H_

#include <tuple>

#include "exif/exif_metadata.h"

inline auto allFields(const GpsAngle& a) {
  return std::tie(a.degrees, a.minutes, a.seconds, a.direction);
}

inline auto allFields(const ExifMetadata& m) {
  const GpsInfo& g = m.gps;
  const LensData& l = m.lens;
  return std::tuple_cat(
      std::tie(m.littleEndian, m.imageDescription, m.make, m.model, m.orientation,
               m.bitsPerSample, m.software, m.dateTime, m.dateTimeOriginal, m.dateTimeDigitized,
               m.subSecTimeOriginal, m.rightsNotice, m.exposureTime, m.fNumber,
               m.exposureProgram, m.isoSpeed, m.shutterSpeedValue, m.exposureBiasValue,
               m.subjectDistance, m.focalLength, m.focalLength35mm, m.flashFired,
               m.flashReturnLight, m.flashMode, m.meteringMode, m.pixelWidth, m.pixelHeight),
      std::tie(g.latitude, g.longitude, g.altitude, g.altitudeRef, g.dop, g.hasLatitude,
               g.hasLongitude, g.hasAltitude),
      allFields(g.latitudeParts), allFields(g.longitudeParts),
      std::tie(l.fNumberAtShortest, l.fNumberAtLongest, l.shortestFocalLength,
               l.longestFocalLength, l.focalPlaneXResolution, l.focalPlaneYResolution,
               l.focalPlaneResolutionUnit, l.lensMake, l.lensModel),
      std::tie(m.frameWidth, m.frameHeight, m.imageWidth, m.imageLength, m.newSubfileType,
               m.dng, m.xmpPacket.at, m.xmpPacket.count));
}

#endif  // PRECHECK_TESTS_SUPPORT_EXIF_FIELDS_H_
