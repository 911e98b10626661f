#include "checks/checks.h"
#include "checks/image_groups.h"
#include "common/messages.h"

namespace {

// Located images join no group: only the offending ones are listed.
std::optional<std::string> gpsKey(const ImageRecord& record) {
  if (hasUsablePosition(record)) return std::nullopt;
  return "1";
}

}  // namespace

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

Offending gpsCheck(ImageRecords& images, Console& console) {
  return offendingKeyCheck(images, console, messages::kGpsProgress, gpsKey, "1");
}
