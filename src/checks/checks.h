// The checks of a run, one row each in one table: what a check is called, the switch
// that turns it on, what it prints, how it keys an image, which kind of check it is and
// its entry in error.json. A run, the summary, the table and the report all go through
// the table, so adding a check is a row here and its key function.
#ifndef PRECHECK_CHECKS_CHECKS_H_
#define PRECHECK_CHECKS_CHECKS_H_

#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "common/bilingual.h"
#include "common/console.h"
#include "common/messages.h"
#include "config/task_config.h"
#include "load/image_records.h"

// The offending images of a check, as indices into the run's images, in the order in
// which the check reported them.
using Offending = std::vector<std::size_t>;

// A check's key for an image that parsed; no key leaves the image out of every group.
using KeyOf = std::optional<std::string> (*)(const ImageRecord& record);

// Prints the key line of a group whose first image is `index`, for keys that are not
// the text they stand for; null: the key is printed as it is.
using ShowKey = void (*)(ImageRecords& images, std::size_t index, Console& console);

enum class CheckKind {
  // Compares the images with each other: names every image outside the largest group of
  // equal keys, and those whose EXIF block cannot be read.
  consistency,
  // Judges each image alone: names every image whose key is the offending key, and those
  // whose EXIF block cannot be read.
  offendingKey,
};

// How a key reads for people: as the bytes it is, up to a NUL that ends the start of a
// longer text, or a size "W*H" as "W×H".
enum class KeyShown { asText, widthByHeight };

struct Check {
  const char* name;                             // for people: "camera make"
  const std::string TaskConfig::*switchValue;   // on when exactly "true"
  const char* announcement;                     // printed when the check starts
  const char* progressText;                     // in front of each image's number
  KeyOf keyOf;
  ShowKey showKey;
  CheckKind kind;
  const char* offendingKey;                     // for CheckKind::offendingKey
  int reportCode;                               // its entry in error.json
  const char* reportDescription;
  // For people at a terminal: the check's name, and what an image it names is like.
  Bilingual title;
  Bilingual offence;
  KeyShown keyShown;
};

// Keys as the pipeline has always keyed the images (see each function).
std::optional<std::string> resolutionKey(const ImageRecord& record);
std::optional<std::string> cameraMakeKey(const ImageRecord& record);
std::optional<std::string> focalLengthKey(const ImageRecord& record);
std::optional<std::string> gpsKey(const ImageRecord& record);
void showCameraMake(ImageRecords& images, std::size_t index, Console& console);

// In the order the checks run and their entries appear in error.json.
inline constexpr Check kChecks[] = {
    {"resolution", &TaskConfig::resolutionSwitch, messages::kStartResolutionCheck,
     messages::kResolutionProgress, resolutionKey, nullptr, CheckKind::consistency, nullptr, 101,
     messages::kResolutionMismatch,
     // 分辨率 / 分辨率与基准不同
     {"\xb7\xd6\xb1\xe6\xc2\xca", "resolution"},
     {"\xb7\xd6\xb1\xe6\xc2\xca\xd3\xeb\xbb\xf9\xd7\xbc\xb2\xbb\xcd\xac", "another resolution"},
     KeyShown::widthByHeight},
    {"camera make", &TaskConfig::cameraMakeSwitch, messages::kStartCameraMakeCheck,
     messages::kCameraMakeProgress, cameraMakeKey, showCameraMake, CheckKind::consistency, nullptr, 102,
     messages::kCameraMakeMismatch,
     // 相机制造商 / 相机制造商与基准不同
     {"\xcf\xe0\xbb\xfa\xd6\xc6\xd4\xec\xc9\xcc", "camera make"},
     {"\xcf\xe0\xbb\xfa\xd6\xc6\xd4\xec\xc9\xcc\xd3\xeb\xbb\xf9\xd7\xbc\xb2\xbb\xcd\xac",
      "another camera make"},
     KeyShown::asText},
    {"focal length", &TaskConfig::focalLengthSwitch, messages::kStartFocalLengthCheck,
     messages::kFocalLengthProgress, focalLengthKey, nullptr, CheckKind::offendingKey, "0", 103,
     messages::kFocalLengthZero,
     // 焦距 / 焦距为 0
     {"\xbd\xb9\xbe\xe0", "focal length"}, {"\xbd\xb9\xbe\xe0\xce\xaa 0", "focal length 0"},
     KeyShown::asText},
    {"GPS", &TaskConfig::gpsSwitch, messages::kStartGpsCheck, messages::kGpsProgress, gpsKey,
     nullptr, CheckKind::offendingKey, "1", 104, messages::kNoGps,
     // GPS 位置 / 无可用位置
     {"GPS \xce\xbb\xd6\xc3", "GPS"}, {"\xce\xde\xbf\xc9\xd3\xc3\xce\xbb\xd6\xc3", "no usable position"},
     KeyShown::asText},
};
inline constexpr std::size_t kCheckCount = std::size(kChecks);

// What the checks of a run found, row by row of kChecks: nothing for a check that did
// not run, else the images it named (maybe none).
struct CheckOutcomes {
  std::optional<Offending> byCheck[kCheckCount];

  bool anyRan() const {
    for (const std::optional<Offending>& offending : byCheck) {
      if (offending) return true;
    }
    return false;
  }
  bool anyOffending() const {
    for (const std::optional<Offending>& offending : byCheck) {
      if (offending && !offending->empty()) return true;
    }
    return false;
  }
};

// Prints the check's header and one progress line per image, taking each image's
// record as it goes, then its groups and report blocks; returns the images it named.
Offending runCheck(const Check& check, ImageRecords& images, Console& console);

// Every check that `config` switches on, in table order, each announced first.
CheckOutcomes runChecks(const TaskConfig& config, ImageRecords& images, Console& console);

// Whether the GPS check takes the position of a parsed image as usable.
bool hasUsablePosition(const ImageRecord& record);

#endif  // PRECHECK_CHECKS_CHECKS_H_
