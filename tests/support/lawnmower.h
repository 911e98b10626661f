// A generated lawnmower survey flight with known spacing, height, overlap, speed and
// times, as the survey's plain input: a clean flight on which the survey finds nothing,
// into which tests inject one fault at a time.
#ifndef PRECHECK_TESTS_SUPPORT_LAWNMOWER_H_
#define PRECHECK_TESTS_SUPPORT_LAWNMOWER_H_

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "survey/survey.h"

struct LawnmowerPlan {
  std::size_t lines = 4;
  std::size_t framesPerLine = 10;
  double heightM = 60.0;            // above take-off
  double forwardOverlap = 0.80;
  double sideOverlap = 0.70;
  double speedMS = 6.0;
  double exposureS = 1.0 / 1000.0;
  double turnSeconds = 12.0;        // from the last frame of a line to the next line's first
  double focalLength35mm = 24.0;
  std::uint32_t width = 4000;
  std::uint32_t height = 3000;
  double latitude = 47.3;           // of the first frame
  double longitude = 8.5;
  std::int64_t startSeconds = 1700000000;
  std::vector<std::string> bands;   // a multispectral capture of these bands per frame
  std::string folder = "flight";
};

// Metres along the track between frames, and between lines, for the plan.
double forwardSpacingM(const LawnmowerPlan& plan);
double lineSpacingM(const LawnmowerPlan& plan);

// The frames line by line, flying north on even lines and south on odd ones, named
// folder/DJI_0001.JPG and up (one name per band for a multispectral plan:
// DJI_0011.TIF .. DJI_0015.TIF for the first capture of five bands).
SurveyImages lawnmowerImages(const LawnmowerPlan& plan);

// `image` moved by the given metres north and east.
void moveBy(SurveyImage& image, double northM, double eastM);

// The images as photographs a DJI drone writes: EXIF with the camera, DateTimeOriginal
// and GPS, and an XMP packet with the drone-dji heights, angles and speeds. Pairs of the
// image's path and the file's bytes.
std::vector<std::pair<std::string, std::string>> lawnmowerPhotos(
    const SurveyImages& images);

#endif  // PRECHECK_TESTS_SUPPORT_LAWNMOWER_H_
