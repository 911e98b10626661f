#include "checks/checks.h"
#include "checks/image_groups.h"
#include "common/messages.h"

namespace {

// The make as the record holds it, up to its first zero byte; blanks and case are
// kept, so makes that differ only there are different makes.
std::optional<std::string> cameraMakeKey(const ImageRecord& record) { return record.make; }

}  // namespace

Offending cameraMakeCheck(ImageRecords& images, Console& console) {
  return consistencyCheck(images, console, messages::kCameraMakeProgress, cameraMakeKey);
}
