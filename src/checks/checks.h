// The four checks, as functions of the run's image records. Each prints its header and
// one progress line per image, taking the image's record as it goes, then its groups
// and report blocks, and returns the images it reported.
#ifndef PRECHECK_CHECKS_CHECKS_H_
#define PRECHECK_CHECKS_CHECKS_H_

#include <cstddef>
#include <vector>

#include "common/console.h"
#include "load/image_records.h"

// The offending images of a check, as indices into the run's images, in the order in
// which the check reported them.
using Offending = std::vector<std::size_t>;

// Resolution and camera make: images whose EXIF block cannot be read, and every image
// outside the largest group of equal keys.
Offending resolutionCheck(ImageRecords& images, Console& console);
Offending cameraMakeCheck(ImageRecords& images, Console& console);
// Focal length: images whose focal length is zero or missing, or cannot be read.
Offending focalLengthCheck(ImageRecords& images, Console& console);
// GPS: images without a usable position, or whose EXIF block cannot be read.
Offending gpsCheck(ImageRecords& images, Console& console);
// Whether the GPS check takes the position of a parsed image as usable.
bool hasUsablePosition(const ImageRecord& record);

#endif  // PRECHECK_CHECKS_CHECKS_H_
