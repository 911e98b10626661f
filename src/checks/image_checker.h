// The checker a run is made of. It holds no state; its operations are defined beside
// the subsystem each belongs to (src/scan, src/checks, src/report).
#ifndef PRECHECK_CHECKS_IMAGE_CHECKER_H_
#define PRECHECK_CHECKS_IMAGE_CHECKER_H_

#include <string>
#include <vector>

#include "checks/check_results.h"
#include "scan/image_list.h"

class ImageChecker {
 public:
  // Lists every file below `folder`, at any depth. Prints one line for each folder
  // that cannot be listed and leaves it out.
  ImageList scanImageFolder(std::string folder) const;

  // Each check reads every image, prints its groups, appends the file names of the
  // offending images to `list` and raises `flag` when it appends any.
  // Resolution and camera make: images that differ from the largest group.
  void checkResolution(const ImageList& images, std::vector<std::string>& list, bool& flag) const;
  void checkCameraMake(const ImageList& images, std::vector<std::string>& list, bool& flag) const;
  // Focal length: images whose focal length is zero or missing.
  void checkFocalLength(const ImageList& images, std::vector<std::string>& list, bool& flag) const;
  // GPS: images without a usable position.
  void checkGps(const ImageList& images, std::vector<std::string>& list, bool& flag) const;

  // The text behind the last "/" or "\" of `path` (the whole path when it has none).
  static std::string fileNameOf(std::string path);

  // Echo the report to the console and write it to error.json in `outputFolder`:
  // one entry per raised flag, or the single entry saying that no image was found.
  // A report that cannot be written is said so in one line; the run goes on.
  void writeErrorReport(const CheckResults& results, const std::string& outputFolder,
                        const CheckFlags& flags) const;
  void writeNoImagesReport(const std::string& outputFolder) const;
};

#endif  // PRECHECK_CHECKS_IMAGE_CHECKER_H_
