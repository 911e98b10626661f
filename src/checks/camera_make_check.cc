#include "checks/checks.h"
#include "checks/image_groups.h"
#include "common/messages.h"

namespace {

// The make as stored, up to its first zero byte (where the record already ends it);
// blanks and case are kept, so makes that differ only there are different makes.
std::optional<std::string> cameraMakeKey(const ImageRecord& record) {
  return record.make.substr(0, record.make.find('\0'));
}

}  // namespace

Offending cameraMakeCheck(ImageRecords& images, Console& console) {
  CheckRun run{images, console, {}};
  ImageGroups groups = groupImages(run, messages::kCameraMakeProgress, cameraMakeKey);
  reportErrorGroup(run, groups);
  reportInconsistentGroups(run, groups);
  return run.offending;
}
