// The survey of a batch: what the metadata of all images together says about whether
// the batch will reconstruct (bad fixes, gaps in overlap, frames off the mission, mixed
// flights, missing bands). It reads only plain values, so that it is tested without files.
#ifndef PRECHECK_SURVEY_SURVEY_H_
#define PRECHECK_SURVEY_SURVEY_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/large_array.h"

// A capture time: seconds since 1970 (UTC as the camera wrote it; only differences and
// equality matter), and the sub-seconds when the camera wrote them.
struct SurveyTime {
  std::int64_t seconds = 0;
  std::optional<double> fraction;  // 0 <= fraction < 1
};

// What the survey needs of one image. Every value is optional: a camera that does not
// write one leaves the kinds that need it out, never guessed.
struct SurveyImage {
  std::string path;  // relative to the input folder, "/" between names
  bool parsed = false;  // false: only the name takes part (name-collision)
  std::optional<double> latitude;
  std::optional<double> longitude;
  std::optional<SurveyTime> time;
  std::optional<double> relativeAltitude;  // metres above take-off
  std::optional<double> gimbalPitch;       // degrees, -90 looks straight down
  std::optional<double> gimbalYaw;         // degrees
  std::optional<double> flightYaw;         // degrees
  std::optional<double> speed;             // ground speed, m/s, when the camera wrote it
  std::optional<double> exposure;          // seconds
  std::optional<double> focalLength;       // mm
  std::optional<double> focalLength35mm;   // mm
  std::optional<double> sensorWidth;       // mm, from the focal plane resolution
  std::optional<double> sensorHeight;      // mm
  std::uint32_t width = 0;                 // pixels
  std::uint32_t height = 0;
  std::string captureId;                   // images of one multispectral capture share it
  std::string bandName;
  // The EXIF pixel size is missing or differs from the frame the file holds.
  bool sizeMismatch = false;
};

// One for every image of the batch, in list order.
using SurveyImages = std::vector<SurveyImage, platform::LargeArrayAllocator<SurveyImage>>;

// The thresholds, each an option; the defaults come from the trackers' reports.
struct SurveySettings {
  double outlierDistanceM = 1000.0;     // nearest other image farther than this
  double outlierMedianFactor = 20.0;    // and this many times the median nearest distance
  double repeatedCount = 3.0;           // images on one exact position
  double horizonPitchDeg = -30.0;       // a frame above this pitch
  double nadirMedianPitchDeg = -60.0;   // in a batch whose median pitch is below this
  double flightGapMinutes = 10.0;       // a longer pause starts another flight
  double minOverlap = 0.60;             // forward overlap below this is a gap
  double turnYawDeg = 30.0;             // a yaw change of this or more is a turn
  double blurGsdFraction = 0.5;         // motion over this share of a ground pixel
};

// One finding: its kind (a row of kSurveyKinds), the images it names (indices into the
// survey's images), a sentence for people and the numbers behind it.
struct SurveyNumber {
  const char* name;  // "overlap", "distance_m"
  double value;
  int places;  // decimals worth showing
};

struct SurveyFinding {
  std::size_t kind = 0;
  std::vector<std::size_t> images;
  std::string detail;
  std::vector<SurveyNumber> numbers;
};

struct SurveyFlight {
  std::size_t first = 0;  // image indices
  std::size_t last = 0;
  std::size_t images = 0;
  std::string start;
  std::optional<double> medianHeightM;
};

struct NotComputed {
  std::size_t kind = 0;
  std::string reason;
};

// Per image, for the table and the map.
struct SurveyImageFacts {
  std::optional<std::size_t> flight;     // 1-based
  std::optional<double> overlapPrevious;  // estimated forward overlap with the previous frame
  std::vector<std::size_t> kinds;         // kinds of the findings that name the image
};

struct SurveyResult {
  std::size_t images = 0;
  std::vector<SurveyFlight> flights;
  std::vector<SurveyFinding> findings;  // in kind order
  std::vector<NotComputed> notComputed;
  std::vector<SurveyImageFacts> perImage;  // one per image

  bool anyFindings() const { return !findings.empty(); }
};

// Runs every kind over the images. O(n log n).
SurveyResult surveyBatch(const SurveyImages& images,
                         const SurveySettings& settings);

#endif  // PRECHECK_SURVEY_SURVEY_H_
