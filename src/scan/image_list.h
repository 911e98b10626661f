#ifndef PRECHECK_SCAN_IMAGE_LIST_H_
#define PRECHECK_SCAN_IMAGE_LIST_H_

#include <string>
#include <vector>

// Full paths of every file below the input folder, depth first, each folder's
// entries in the order the platform's listing gives them.
using ImageList = std::vector<std::string>;

#endif  // PRECHECK_SCAN_IMAGE_LIST_H_
