#ifndef PRECHECK_CHECKS_CHECK_RESULTS_H_
#define PRECHECK_CHECKS_CHECK_RESULTS_H_

#include <cstdint>
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

// Per image, in list order, the report codes under which the checks named it, as bits:
// 1 << 0 for 101 (resolution), 1 << 1 for 102 (camera make), 1 << 2 for 103 (focal
// length), 1 << 3 for 104 (GPS).
using ReportCodes = std::vector<std::uint8_t>;

#endif  // PRECHECK_CHECKS_CHECK_RESULTS_H_
