// How much ground a frame covers along the track, from the focal length and the frame
// size, per metre of height above ground.
#ifndef PRECHECK_SURVEY_FOOTPRINT_H_
#define PRECHECK_SURVEY_FOOTPRINT_H_

#include <optional>

#include "survey/survey.h"

// The frame diagonal of 35 mm film, which the 35 mm-equivalent focal length refers to.
inline constexpr double kFullFrameDiagonalMm = 43.27;

struct FrameAlongTrack {
  double groundPerHeight;  // metres of ground along the track per metre of height
  double pixels;           // pixels along the track
};

// The side of the frame along the track: the shorter side, or the longer one when the
// gimbal is turned across the flight direction. Empty when the image gives neither a
// 35 mm-equivalent focal length with its pixel size nor a focal length with a sensor size.
std::optional<FrameAlongTrack> frameAlongTrack(const SurveyImage& image);

// The smaller angle between two directions in degrees, 0 to 180.
double angleBetween(double a, double b);

#endif  // PRECHECK_SURVEY_FOOTPRINT_H_
