// Files below the input folder that are no images: an RTK drone's logs, the caches
// Windows and macOS leave. They stay in the run (callers rely on every file being
// named), but people are told once what they are, and how to leave them out.
#ifndef PRECHECK_APP_NOT_IMAGES_H_
#define PRECHECK_APP_NOT_IMAGES_H_

#include <cstddef>
#include <string>
#include <vector>

#include "common/console.h"
#include "load/image_records.h"

struct NotImages {
  struct File {
    std::string path;  // below the input folder, as the run spells it
    FileKind kind;
  };
  std::vector<File> files;  // in list order
};

// The read files whose content names them as no image. A file of unknown content is
// not among them: it may be a damaged photograph.
NotImages findNotImages(ImageRecords& images, const std::string& inputFolder);

// One line for standard error, or empty when there are none: the first few files with
// their kinds, then how many more.
std::string notImagesLine(const NotImages& found);

// For people at a terminal when such files were seen: the --ignore options that leave
// them out. Empty when there are none, or no pattern can be said safely.
std::string ignoreOptions(const NotImages& found);

#endif  // PRECHECK_APP_NOT_IMAGES_H_
