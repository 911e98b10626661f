#include "checks/image_checker.h"
#include "checks/image_groups.h"
#include "common/messages.h"

namespace {

// The make as stored, up to its first zero byte; blanks and case are kept, so makes
// that differ only there are different makes.
std::optional<std::string> cameraMakeKey(const ExifMetadata& metadata) {
  return metadata.make.substr(0, metadata.make.find('\0'));
}

}  // namespace

void ImageChecker::checkCameraMake(const ImageList& images, std::vector<std::string>& list,
                                   bool& flag) const {
  ImageGroups groups = groupImages(images, messages::kCameraMakeProgress, cameraMakeKey);
  reportErrorGroup(groups, list, flag);
  reportInconsistentGroups(groups, list, flag);
}
