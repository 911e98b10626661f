#include "lawnmower.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double kEarthRadiusM = 6371008.8;
constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

double frameSide(const LawnmowerPlan& plan, bool longer) {
  const double w = plan.width;
  const double h = plan.height;
  const double side = longer ? std::max(w, h) : std::min(w, h);
  return 43.27 * side / std::hypot(w, h) / plan.focalLength35mm * plan.heightM;
}

std::string timeText(std::int64_t seconds) {
  const std::int64_t day = seconds / 86400;
  const std::int64_t inDay = seconds % 86400;
  // Days to a civil date (Howard Hinnant's algorithm).
  const std::int64_t z = day + 719468;
  const std::int64_t era = z / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  char text[96];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lld",
                static_cast<long long>(y), static_cast<long long>(m), static_cast<long long>(d),
                static_cast<long long>(inDay / 3600), static_cast<long long>(inDay / 60 % 60),
                static_cast<long long>(inDay % 60));
  return text;
}

}  // namespace

double forwardSpacingM(const LawnmowerPlan& plan) {
  return frameSide(plan, false) * (1.0 - plan.forwardOverlap);
}

double lineSpacingM(const LawnmowerPlan& plan) {
  return frameSide(plan, true) * (1.0 - plan.sideOverlap);
}

void moveBy(SurveyImage& image, double northM, double eastM) {
  const double latitude = *image.latitude;
  image.latitude = latitude + northM / kEarthRadiusM * kDegreesPerRadian;
  image.longitude = *image.longitude + eastM / (kEarthRadiusM * std::cos(latitude /
                                                                         kDegreesPerRadian)) *
                                           kDegreesPerRadian;
}

std::vector<SurveyImage> lawnmowerImages(const LawnmowerPlan& plan) {
  const double forward = forwardSpacingM(plan);
  const double interval = forward / plan.speedMS;
  std::vector<SurveyImage> images;
  double seconds = 0.0;
  std::size_t number = 0;
  for (std::size_t line = 0; line < plan.lines; ++line) {
    const bool north = line % 2 == 0;
    for (std::size_t frame = 0; frame < plan.framesPerLine; ++frame) {
      if (frame > 0) seconds += interval;
      SurveyImage image;
      image.parsed = true;
      image.latitude = plan.latitude;
      image.longitude = plan.longitude;
      const double along = static_cast<double>(north ? frame : plan.framesPerLine - 1 - frame);
      moveBy(image, along * forward, static_cast<double>(line) * lineSpacingM(plan));
      CaptureTime time;
      time.seconds = plan.startSeconds + static_cast<std::int64_t>(std::floor(seconds));
      time.fraction = seconds - std::floor(seconds);
      time.text = timeText(time.seconds);
      image.time = time;
      image.relativeAltitude = plan.heightM;
      image.gimbalPitch = -90.0;
      image.flightYaw = north ? 0.0 : 180.0;
      image.gimbalYaw = image.flightYaw;
      image.speed = plan.speedMS;
      image.exposure = plan.exposureS;
      image.focalLength35mm = plan.focalLength35mm;
      image.width = plan.width;
      image.height = plan.height;
      ++number;
      if (plan.bands.empty()) {
        char name[32];
        std::snprintf(name, sizeof name, "DJI_%04zu.JPG", number);
        image.path = plan.folder + "/" + name;
        images.push_back(image);
        continue;
      }
      image.captureId = "capture-" + std::to_string(number);
      for (std::size_t band = 0; band < plan.bands.size(); ++band) {
        char name[32];
        std::snprintf(name, sizeof name, "DJI_%03zu%zu.TIF", number, band + 1);
        image.path = plan.folder + "/" + name;
        image.bandName = plan.bands[band];
        images.push_back(image);
      }
    }
    seconds += plan.turnSeconds;
  }
  return images;
}
