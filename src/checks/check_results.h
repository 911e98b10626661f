#ifndef PRECHECK_CHECKS_CHECK_RESULTS_H_
#define PRECHECK_CHECKS_CHECK_RESULTS_H_

#include <string>
#include <vector>

// The file names of the offending images, one list per check, in the order each check
// reported them. A name may repeat: two subfolders can hold files of the same name.
struct CheckResults {
  std::vector<std::string> resolutionImages;
  std::vector<std::string> focalLengthImages;
  std::vector<std::string> gpsImages;
  std::vector<std::string> cameraMakeImages;
};

// One flag per check, raised by the check whenever it reports an image. A check that
// did not run leaves its flag down.
struct CheckFlags {
  bool resolution = false;
  bool cameraMake = false;
  bool focalLength = false;
  bool gps = false;

  bool any() const { return resolution || cameraMake || focalLength || gps; }
};

#endif  // PRECHECK_CHECKS_CHECK_RESULTS_H_
