// The checker a run is made of: the folder scan, the four checks and the two reports,
// all printing to the console it is given, so that a test can give its own.
#ifndef PRECHECK_APP_IMAGE_CHECKER_H_
#define PRECHECK_APP_IMAGE_CHECKER_H_

#include <string>
#include <vector>

#include "checks/check_results.h"
#include "checks/checks.h"
#include "common/console.h"
#include "load/image_records.h"
#include "scan/image_list.h"

class ImageChecker {
 public:
  explicit ImageChecker(Console& console) : console_(console) {}

  // Lists every file below `folder`, at any depth, but for the report in
  // `outputFolder` and its temporary files, should the output folder lie below it.
  ScannedImages scanImageFolder(const std::string& folder,
                                const std::string& outputFolder) const;

  // Each check takes every image's record, prints its groups, appends the file names
  // of the offending images to `list` and raises `flag` when it appends any. It
  // returns the offending images as indices into `images`.
  Offending checkResolution(ImageRecords& images, std::vector<std::string>& list, bool& flag) const;
  Offending checkCameraMake(ImageRecords& images, std::vector<std::string>& list, bool& flag) const;
  Offending checkFocalLength(ImageRecords& images, std::vector<std::string>& list,
                             bool& flag) const;
  Offending checkGps(ImageRecords& images, std::vector<std::string>& list, bool& flag) const;

  // Echo the report to the console and write it to error.json in `outputFolder`:
  // one entry per raised flag, or the single entry saying that no image was found.
  // A report that cannot be written is said so in one line; the run goes on. Both
  // return whether error.json was written.
  bool writeErrorReport(const CheckResults& results, const std::string& outputFolder,
                        const CheckFlags& flags) const;
  bool writeNoImagesReport(const std::string& outputFolder) const;

 private:
  Console& console_;
};

#endif  // PRECHECK_APP_IMAGE_CHECKER_H_
