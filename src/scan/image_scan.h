// The folder scan: every file below the input folder is an image of the batch, but for
// the program's own.
#ifndef PRECHECK_SCAN_IMAGE_SCAN_H_
#define PRECHECK_SCAN_IMAGE_SCAN_H_

#include <string>
#include <vector>

#include "common/console.h"
#include "scan/image_list.h"

// A file the program writes, perhaps below the input folder (when the output folder or
// a file asked for lies there), which is never an image of the batch: neither it nor
// the temporary files that replace it. Were it listed, a batch could never pass again.
struct OwnFile {
  std::string folder;  // as configured; found by its identity, however it is spelled
  std::string name;
};

// Lists every file below `folder`, at any depth, depth first, leaving out `ownFiles`
// and the files whose path below `folder` ("/" between its parts) matches one of
// `ignore` (see ignore_pattern.h), as if they were not there. Prints one line for each
// folder that cannot be listed and leaves it out.
ScannedImages scanImageFolder(const std::string& folder, const std::vector<OwnFile>& ownFiles,
                              Console& console, const std::vector<std::string>& ignore = {});

#endif  // PRECHECK_SCAN_IMAGE_SCAN_H_
