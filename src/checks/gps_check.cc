#include "checks/image_checker.h"
#include "checks/image_groups.h"
#include "common/messages.h"

namespace {

// A position is unusable when it is all zeros (what cameras write without a fix), or
// when both coordinates are out of range and an altitude is given as well.
bool hasUsablePosition(const GpsInfo& gps) {
  const bool allZero = gps.latitude == 0.0 && gps.longitude == 0.0 && gps.altitude == 0.0;
  const bool latitudeInRange = gps.latitude >= -90.0 && gps.latitude <= 90.0;
  const bool longitudeInRange = gps.longitude >= -180.0 && gps.longitude <= 180.0;
  const bool outOfRange = !latitudeInRange && !longitudeInRange && gps.altitude != 0.0;
  return !allZero && !outOfRange;
}

// Located images join no group: only the offending ones are listed.
std::optional<std::string> gpsKey(const ExifMetadata& metadata) {
  if (hasUsablePosition(metadata.gps)) return std::nullopt;
  return "1";
}

}  // namespace

void ImageChecker::checkGps(const ImageList& images, std::vector<std::string>& list,
                            bool& flag) const {
  ImageGroups groups = groupImages(images, messages::kGpsProgress, gpsKey);
  reportGroupsWithKey(groups, "1", list, flag);
}
