#include <cstdint>

#include "checks/image_checker.h"
#include "checks/image_groups.h"
#include "common/messages.h"

namespace {

// The 35 mm equivalent when the image has one, else the focal length truncated toward
// zero. A damaged rational can reach 2^32 - 1, hence the 64-bit whole number.
std::optional<std::string> focalLengthKey(const ExifMetadata& metadata) {
  if (metadata.focalLength35mm != 0) return std::to_string(metadata.focalLength35mm);
  return std::to_string(static_cast<std::uint64_t>(metadata.focalLength));
}

}  // namespace

void ImageChecker::checkFocalLength(const ImageList& images, std::vector<std::string>& list,
                                    bool& flag) const {
  ImageGroups groups = groupImages(images, messages::kFocalLengthProgress, focalLengthKey);
  reportGroupsWithKey(groups, "0", list, flag);
}
