#include <cstdint>

#include "checks/checks.h"
#include "checks/image_groups.h"
#include "common/messages.h"

namespace {

// The 35 mm equivalent when the image has one, else the focal length truncated toward
// zero. A damaged rational can reach 2^32 - 1, hence the 64-bit whole number.
std::optional<std::string> focalLengthKey(const ImageRecord& record) {
  if (record.focalLength35mm != 0) return std::to_string(record.focalLength35mm);
  return std::to_string(static_cast<std::uint64_t>(record.focalLength));
}

}  // namespace

Offending focalLengthCheck(ImageRecords& images, Console& console) {
  return offendingKeyCheck(images, console, messages::kFocalLengthProgress, focalLengthKey, "0");
}
