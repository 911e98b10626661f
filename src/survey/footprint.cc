#include "survey/footprint.h"

#include <algorithm>
#include <cmath>

double angleBetween(double a, double b) {
  const double turn = std::fmod(std::fabs(a - b), 360.0);
  return turn > 180.0 ? 360.0 - turn : turn;
}

std::optional<FrameAlongTrack> frameAlongTrack(const SurveyImage& image) {
  // A camera turned by about a quarter turn from the flight direction has its longer
  // side along the track.
  const bool turned = image.gimbalYaw && image.flightYaw &&
                      std::fabs(angleBetween(*image.gimbalYaw, *image.flightYaw) - 90.0) < 45.0;
  const double shortPixels = std::min(image.width, image.height);
  const double longPixels = std::max(image.width, image.height);
  const double pixels = turned ? longPixels : shortPixels;
  if (pixels <= 0.0) return std::nullopt;
  if (image.focalLength35mm && *image.focalLength35mm > 0.0) {
    const double diagonalPixels = std::hypot(shortPixels, longPixels);
    const double sideMm = kFullFrameDiagonalMm * pixels / diagonalPixels;
    return FrameAlongTrack{sideMm / *image.focalLength35mm, pixels};
  }
  if (image.focalLength && *image.focalLength > 0.0 && image.sensorWidth && image.sensorHeight &&
      *image.sensorWidth > 0.0 && *image.sensorHeight > 0.0) {
    // The sensor's sides follow the pixels': the shorter with the fewer.
    const double shortMm = std::min(*image.sensorWidth, *image.sensorHeight);
    const double longMm = std::max(*image.sensorWidth, *image.sensorHeight);
    return FrameAlongTrack{(turned ? longMm : shortMm) / *image.focalLength, pixels};
  }
  return std::nullopt;
}
