#include "survey/survey_image.h"

#include <cmath>

namespace {

// Millimetres per unit of the focal plane resolution (2 inch, 3 cm, 4 mm, 5 um).
std::optional<double> millimetresPerUnit(std::uint16_t unit) {
  switch (unit) {
    case 2: return 25.4;
    case 3: return 10.0;
    case 4: return 1.0;
    case 5: return 0.001;
    default: return std::nullopt;
  }
}

// The sensor side in mm: the pixels over the pixels per unit.
std::optional<double> sensorSide(std::uint32_t pixels, const std::optional<float>& perUnit,
                                 std::optional<double> unitMm) {
  if (!perUnit || !unitMm || pixels == 0 || !(*perUnit > 0.0f) || !std::isfinite(*perUnit)) {
    return std::nullopt;
  }
  return static_cast<double>(pixels) / static_cast<double>(*perUnit) * *unitMm;
}

std::optional<double> wider(const std::optional<float>& value) {
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return static_cast<double>(*value);
}

}  // namespace

SurveyImage surveyImageOf(const ImageRecord& record) {
  SurveyImage image;
  image.parsed = record.parsed();
  if (!image.parsed) return image;
  const SurveyValues& values = record.surveyValues();
  image.width = record.pixelWidth != 0 ? record.pixelWidth : record.frameWidth;
  image.height = record.pixelHeight != 0 ? record.pixelHeight : record.frameHeight;
  if (record.focalLength > 0.0 && std::isfinite(record.focalLength)) {
    image.focalLength = record.focalLength;
  }
  if (record.focalLength35mm != 0) image.focalLength35mm = record.focalLength35mm;
  // Tags that were never decoded leave all three zero; a record may not say either way.
  const bool positioned = values.hasPosition || record.latitude != 0.0 ||
                          record.longitude != 0.0 || record.altitude != 0.0;
  if (positioned && !record.positionUndefined && std::fabs(record.latitude) <= 90.0 &&
      std::fabs(record.longitude) <= 180.0) {
    image.latitude = record.latitude;
    image.longitude = record.longitude;
  }
  const std::optional<CaptureTime>& captured = values.captureTime;
  if (captured) {
    SurveyTime time;
    time.seconds = captured->seconds;
    if (captured->hasSubSeconds) {
      time.fraction = static_cast<double>(captured->nanoseconds) / 1e9;
    }
    image.time = time;
  }
  if (values.exposureTime && *values.exposureTime > 0.0 && std::isfinite(*values.exposureTime)) {
    image.exposure = values.exposureTime;
  }
  const XmpValues& xmp = values.xmp;
  image.relativeAltitude = wider(xmp.relativeAltitude);
  image.gimbalPitch = wider(xmp.gimbalPitch);
  image.gimbalYaw = wider(xmp.gimbalYaw);
  image.flightYaw = wider(xmp.flightYaw);
  const std::optional<double> east = wider(xmp.flightXSpeed);
  const std::optional<double> north = wider(xmp.flightYSpeed);
  if (east && north) image.speed = std::hypot(*east, *north);
  const std::optional<double> unitMm = millimetresPerUnit(values.focalPlaneResolutionUnit);
  image.sensorWidth = sensorSide(image.width, values.focalPlaneXResolution, unitMm);
  image.sensorHeight = sensorSide(image.height, values.focalPlaneYResolution, unitMm);
  image.sizeMismatch = sizeMismatch(record);
  image.captureId = xmp.captureId;
  image.bandName = xmp.bandName;
  return image;
}
