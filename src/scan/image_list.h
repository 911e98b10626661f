#ifndef PRECHECK_SCAN_IMAGE_LIST_H_
#define PRECHECK_SCAN_IMAGE_LIST_H_

#include <string>
#include <vector>

#include "platform/platform.h"

// Full paths of every file below the input folder, depth first, each folder's
// entries in the order the platform's listing gives them, as the console and
// error.json show them.
using ImageList = std::vector<std::string>;

// How the system opens each image, at the same index as its path.
using NativePaths = std::vector<platform::NativePath>;

// What the scan finds: a name the shown path cannot spell is still opened.
struct ScannedImages {
  ImageList paths;
  NativePaths native;
};

#endif  // PRECHECK_SCAN_IMAGE_LIST_H_
