// What the kinds of the survey share, worked out once before any of them runs: which
// images stand for a position, which are left out as bad fixes, the images in time
// order and the flights they make.
#ifndef PRECHECK_SURVEY_SURVEY_CONTEXT_H_
#define PRECHECK_SURVEY_SURVEY_CONTEXT_H_

#include <cstddef>
#include <optional>
#include <vector>

#include "survey/survey.h"

struct SurveyContext {
  const SurveyImages& images;
  const SurveySettings& settings;
  // Per image: the first image of its multispectral capture (itself when it has no
  // capture id). Only such first images stand for a position and a moment.
  std::vector<std::size_t> capture;
  std::vector<bool> nullPosition;
  // Nearest other position in metres, for images that stand for a position.
  std::vector<std::optional<double>> nearest;
  double medianNearest = 0.0;
  std::vector<bool> outlier;
  // Images with a time that stand for a moment, in time order (ties in list order),
  // bad fixes included; `track` is the same without them.
  std::vector<std::size_t> timeOrder;
  std::vector<std::size_t> track;
  // Per entry of `track`: a bad fix lies between it and the entry before.
  std::vector<bool> badFixBefore;
  // Per entry of `track`: its flight, 0-based; per image through `capture`.
  std::vector<std::size_t> trackFlight;

  bool hasPosition(std::size_t index) const;
  bool standsForCapture(std::size_t index) const { return capture[index] == index; }
  // Left out of flight, overlap and blur.
  bool badFix(std::size_t index) const { return nullPosition[index] || outlier[index]; }
};

// Works out the shared facts; fills the result's flights and per-image flight numbers.
SurveyContext surveyContextOf(const SurveyImages& images,
                              const SurveySettings& settings, SurveyResult& result);

#endif  // PRECHECK_SURVEY_SURVEY_CONTEXT_H_
