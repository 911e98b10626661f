#include <cstdint>

#include "checks/checks.h"

// Written as signed numbers, as the pipeline has always keyed them.
std::optional<std::string> resolutionKey(const ImageRecord& record) {
  return std::to_string(static_cast<std::int32_t>(record.pixelWidth)) + "*" +
         std::to_string(static_cast<std::int32_t>(record.pixelHeight));
}

// The make up to its first zero byte; blanks and case are kept, so makes that differ
// only there are different makes. A make longer than a record keeps is keyed by its
// start, a NUL, its length and its digest: no whole make holds a NUL, so no whole make
// shares such a key, and long makes share one when their bytes are the same. Such keys
// sort by their start as the makes do, and makes whose kept starts are equal by length
// and digest.
std::optional<std::string> cameraMakeKey(const ImageRecord& record) {
  const CameraMake& make = record.make;
  if (make.whole()) return make.kept;
  std::string key = make.kept;
  key += '\0';
  for (int shift = 56; shift >= 0; shift -= 8) key += static_cast<char>(make.length >> shift);
  key.append(make.digest.begin(), make.digest.end());
  return key;
}

// The key line of a make is the make itself, read again from the file when the record
// keeps only its start; if the file no longer gives it, the start stands in.
void showCameraMake(ImageRecords& images, std::size_t index, Console& console) {
  const CameraMake& make = images.record(index).make;
  if (make.whole()) {
    console.writeLine({outside(make.kept)});
    return;
  }
  console.writeLongLine([&](const std::function<void(std::string_view)>& take) {
    std::uint64_t given = 0;
    const bool read = images.readWholeMake(index, [&](std::string_view piece) {
      given += piece.size();
      take(piece);
    });
    if (!read && given == 0) take(make.kept);
  });
}

// The 35 mm equivalent when the image has one, else the focal length truncated toward
// zero. A damaged rational can reach 2^32 - 1, hence the 64-bit whole number.
std::optional<std::string> focalLengthKey(const ImageRecord& record) {
  if (record.focalLength35mm != 0) return std::to_string(record.focalLength35mm);
  return std::to_string(static_cast<std::uint64_t>(record.focalLength));
}

// Located images join no group: only the offending ones are listed.
std::optional<std::string> gpsKey(const ImageRecord& record) {
  if (hasUsablePosition(record)) return std::nullopt;
  return "1";
}

// Unusable: all zeros (what cameras write without a fix), or both coordinates out of
// range and an altitude given as well.
bool hasUsablePosition(const ImageRecord& record) {
  const double latitude = record.latitude;
  const double longitude = record.longitude;
  const double altitude = record.altitude;
  const bool allZero = latitude == 0.0 && longitude == 0.0 && altitude == 0.0;
  const bool latitudeInRange = latitude >= -90.0 && latitude <= 90.0;
  const bool longitudeInRange = longitude >= -180.0 && longitude <= 180.0;
  const bool outOfRange = !latitudeInRange && !longitudeInRange && altitude != 0.0;
  return !allZero && !outOfRange;
}
