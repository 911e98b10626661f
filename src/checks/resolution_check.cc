#include <cstdint>

#include "checks/checks.h"
#include "checks/image_groups.h"
#include "common/messages.h"

namespace {

// Written as signed numbers, as the pipeline has always keyed them.
std::optional<std::string> resolutionKey(const ImageRecord& record) {
  return std::to_string(static_cast<std::int32_t>(record.pixelWidth)) + "*" +
         std::to_string(static_cast<std::int32_t>(record.pixelHeight));
}

}  // namespace

Offending resolutionCheck(ImageRecords& images, Console& console) {
  return consistencyCheck(images, console, messages::kResolutionProgress, resolutionKey);
}
