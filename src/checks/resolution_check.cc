#include <cstdint>

#include "checks/image_checker.h"
#include "checks/image_groups.h"
#include "common/messages.h"

namespace {

// Written as signed numbers, as the pipeline has always keyed them.
std::optional<std::string> resolutionKey(const ExifMetadata& metadata) {
  return std::to_string(static_cast<std::int32_t>(metadata.pixelWidth)) + "*" +
         std::to_string(static_cast<std::int32_t>(metadata.pixelHeight));
}

}  // namespace

void ImageChecker::checkResolution(const ImageList& images, std::vector<std::string>& list,
                                   bool& flag) const {
  ImageGroups groups = groupImages(images, messages::kResolutionProgress, resolutionKey);
  reportErrorGroup(groups, list, flag);
  reportInconsistentGroups(groups, list, flag);
}
