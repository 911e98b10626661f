// The checker a run is made of. It holds no state; its operations are defined beside
// the subsystem each belongs to (src/scan, src/checks, src/report).
#ifndef PRECHECK_CHECKS_IMAGE_CHECKER_H_
#define PRECHECK_CHECKS_IMAGE_CHECKER_H_

#include <string>

#include "scan/image_list.h"

class ImageChecker {
 public:
  // Lists every file below `folder`, at any depth. Prints one line for each folder
  // that cannot be listed and leaves it out.
  ImageList scanImageFolder(std::string folder) const;
};

#endif  // PRECHECK_CHECKS_IMAGE_CHECKER_H_
