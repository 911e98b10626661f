// The folder scan: every file below the input folder is an image of the batch.
#ifndef PRECHECK_SCAN_IMAGE_SCAN_H_
#define PRECHECK_SCAN_IMAGE_SCAN_H_

#include <string>

#include "common/console.h"
#include "scan/image_list.h"

// Lists every file below `folder`, at any depth, depth first. Prints one line for each
// folder that cannot be listed and leaves it out.
ImageList scanImageFolder(const std::string& folder, Console& console);

#endif  // PRECHECK_SCAN_IMAGE_SCAN_H_
