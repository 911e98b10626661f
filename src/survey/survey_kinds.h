// The kinds of survey findings, one row each: the name tools read, what it means for
// people, and the function that finds it. Adding a kind is a row and its function.
#ifndef PRECHECK_SURVEY_SURVEY_KINDS_H_
#define PRECHECK_SURVEY_SURVEY_KINDS_H_

#include <cstddef>
#include <iterator>

#include "survey/survey.h"
#include "survey/survey_context.h"

using FindKind = void (*)(const SurveyContext& context, std::size_t kind, SurveyResult& result);

struct SurveyKind {
  const char* name;        // "overlap-gap", as the survey file names it
  const char* meaning;     // for people
  const char* thresholds;  // the options that set its thresholds, or ""
  FindKind find;
};

void findPositionNull(const SurveyContext& context, std::size_t kind, SurveyResult& result);
void findPositionRepeated(const SurveyContext& context, std::size_t kind, SurveyResult& result);
void findPositionOutlier(const SurveyContext& context, std::size_t kind, SurveyResult& result);
void findNameCollision(const SurveyContext& context, std::size_t kind, SurveyResult& result);
void findDuplicateFrame(const SurveyContext& context, std::size_t kind, SurveyResult& result);
void findHorizonFrame(const SurveyContext& context, std::size_t kind, SurveyResult& result);
void findMixedFlights(const SurveyContext& context, std::size_t kind, SurveyResult& result);
void findOverlapGap(const SurveyContext& context, std::size_t kind, SurveyResult& result);
void findMotionBlurRisk(const SurveyContext& context, std::size_t kind, SurveyResult& result);
void findBandMissing(const SurveyContext& context, std::size_t kind, SurveyResult& result);
void findSizeMismatch(const SurveyContext& context, std::size_t kind, SurveyResult& result);

// In the order the findings are listed.
inline constexpr SurveyKind kSurveyKinds[] = {
    {"position-null", "latitude and longitude both 0", "", findPositionNull},
    {"position-repeated", "one exact position on several images", "--repeated-images",
     findPositionRepeated},
    {"position-outlier", "far from every other image", "--outlier-distance --outlier-factor",
     findPositionOutlier},
    {"name-collision", "one file name in two or more folders", "", findNameCollision},
    {"duplicate-frame", "same capture time and position", "", findDuplicateFrame},
    {"horizon-frame", "camera lifted in a nadir survey", "--horizon-pitch --nadir-pitch",
     findHorizonFrame},
    {"mixed-flights", "more than one flight in the batch", "--flight-gap", findMixedFlights},
    {"overlap-gap", "forward overlap too low", "--min-overlap --turn-yaw", findOverlapGap},
    {"motion-blur-risk", "moved over half a ground pixel while exposing", "--blur-pixels",
     findMotionBlurRisk},
    {"band-missing", "multispectral capture missing bands", "", findBandMissing},
    {"size-mismatch", "EXIF pixel size missing or other than the frame", "", findSizeMismatch},
};
inline constexpr std::size_t kSurveyKindCount = std::size(kSurveyKinds);

// The row of the kind called `name`, or kSurveyKindCount.
std::size_t surveyKindNamed(const char* name);

#endif  // PRECHECK_SURVEY_SURVEY_KINDS_H_
