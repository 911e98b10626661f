// The kinds that judge the flight: the camera's pitch, flights, overlap, blur and the
// bands of multispectral captures.
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>

#include "survey/footprint.h"
#include "survey/nearest.h"
#include "survey/survey_kinds.h"
#include "survey/survey_text.h"
#include "common/numbers.h"

namespace {

void notComputed(SurveyResult& result, std::size_t kind, const std::string& reason) {
  result.notComputed.push_back(NotComputed{kind, reason});
}

std::optional<double> headingOf(const SurveyImage& image) {
  if (image.flightYaw) return image.flightYaw;
  return image.gimbalYaw;
}

// The bearing from one image to the next in degrees, on a plane tangent at `a`.
double bearing(const SurveyImage& a, const SurveyImage& b) {
  constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
  const double north = *b.latitude - *a.latitude;
  const double east = (*b.longitude - *a.longitude) * std::cos(*a.latitude * kRadiansPerDegree);
  return std::atan2(east, north) / kRadiansPerDegree;
}

// Whether the step from track entry k-1 to k is judged: both in one flight, no bad fix
// between them, both positioned.
bool judgedStep(const SurveyContext& context, std::size_t k) {
  if (k == 0 || context.trackFlight[k] != context.trackFlight[k - 1]) return false;
  if (context.badFixBefore[k]) return false;
  return context.hasPosition(context.track[k]) && context.hasPosition(context.track[k - 1]);
}

// Whether the drone turns between track entries k-1 and k: by the yaw tags when both
// images have them, else by the change of direction from the step before.
bool atTurn(const SurveyContext& context, std::size_t k) {
  const SurveyImage& a = context.images[context.track[k - 1]];
  const SurveyImage& b = context.images[context.track[k]];
  const double limit = context.settings.turnYawDeg;
  const std::optional<double> yawA = headingOf(a);
  const std::optional<double> yawB = headingOf(b);
  if (yawA && yawB) return angleBetween(*yawA, *yawB) >= limit;
  if (!judgedStep(context, k - 1)) return false;
  const SurveyImage& before = context.images[context.track[k - 2]];
  return angleBetween(bearing(before, a), bearing(a, b)) >= limit;
}

double stepDistance(const SurveyContext& context, std::size_t k) {
  const SurveyImage& a = context.images[context.track[k - 1]];
  const SurveyImage& b = context.images[context.track[k]];
  return groundDistance(*a.latitude, *a.longitude, *b.latitude, *b.longitude);
}

double stepSeconds(const SurveyContext& context, std::size_t k) {
  const SurveyTime& a = *context.images[context.track[k - 1]].time;
  const SurveyTime& b = *context.images[context.track[k]].time;
  return static_cast<double>(b.seconds - a.seconds) + b.fraction.value_or(0.0) -
         a.fraction.value_or(0.0);
}

// The ground speed at track entry k: the camera's own, else from the step after it or,
// at the end of a flight, the step before.
std::optional<double> groundSpeed(const SurveyContext& context, std::size_t k) {
  const SurveyImage& image = context.images[context.track[k]];
  if (image.speed) return image.speed;
  for (const std::size_t step : {k + 1, k}) {
    if (step >= context.track.size() || !judgedStep(context, step)) continue;
    const double seconds = stepSeconds(context, step);
    if (seconds > 0.0) return stepDistance(context, step) / seconds;
  }
  return std::nullopt;
}

bool anyImage(const SurveyContext& context, bool (*has)(const SurveyImage& image)) {
  for (const SurveyImage& image : context.images) {
    if (image.parsed && has(image)) return true;
  }
  return false;
}

// Why nothing could be estimated from the height above ground and the frame, or empty.
std::string missingGeometry(const SurveyContext& context) {
  if (!anyImage(context, [](const SurveyImage& i) { return i.relativeAltitude.has_value(); })) {
    return "no image gives its height above take-off (relative altitude), and a height "
           "from the GPS altitude would be a guess";
  }
  if (!anyImage(context, [](const SurveyImage& i) { return frameAlongTrack(i).has_value(); })) {
    return "no image gives its frame: neither a 35 mm-equivalent focal length with its "
           "pixel size nor a focal length with a sensor size";
  }
  return std::string();
}

}  // namespace

void findHorizonFrame(const SurveyContext& context, std::size_t kind, SurveyResult& result) {
  const SurveyImages& images = context.images;
  std::vector<double> pitches;
  for (const SurveyImage& image : images) {
    if (image.parsed && image.gimbalPitch) pitches.push_back(*image.gimbalPitch);
  }
  if (pitches.empty()) {
    notComputed(result, kind, "no image gives its gimbal pitch");
    return;
  }
  const double middle = median(pitches);
  if (!(middle < context.settings.nadirMedianPitchDeg)) return;
  for (std::size_t i = 0; i < images.size(); ++i) {
    const SurveyImage& image = images[i];
    if (!image.parsed || !image.gimbalPitch ||
        !(*image.gimbalPitch > context.settings.horizonPitchDeg)) {
      continue;
    }
    SurveyFinding finding;
    finding.kind = kind;
    finding.images.push_back(i);
    finding.detail = "the camera looks " + decimalText(*image.gimbalPitch, 1) +
                     " degrees from level in a survey that looks straight down (median " +
                     decimalText(middle, 1) + ")";
    finding.numbers.push_back({"pitch_deg", *image.gimbalPitch, 1});
    finding.numbers.push_back({"median_pitch_deg", middle, 1});
    result.findings.push_back(finding);
  }
}

void findMixedFlights(const SurveyContext& context, std::size_t kind, SurveyResult& result) {
  if (context.track.empty()) {
    notComputed(result, kind, "no image gives its capture time");
    return;
  }
  if (result.flights.size() < 2) return;
  SurveyFinding finding;
  finding.kind = kind;
  for (const SurveyFlight& flight : result.flights) finding.images.push_back(flight.first);
  finding.detail = countText(result.flights.size(), "flight", "flights") +
                   " in one batch, each starting after a pause of more than " +
                   decimalText(context.settings.flightGapMinutes, 1) + " minutes";
  finding.numbers.push_back({"flights", static_cast<double>(result.flights.size()), 0});
  result.findings.push_back(finding);
}

void findOverlapGap(const SurveyContext& context, std::size_t kind, SurveyResult& result) {
  const std::string missing = missingGeometry(context);
  if (!missing.empty()) {
    notComputed(result, kind, missing);
    return;
  }
  bool anyStep = false;
  for (std::size_t k = 1; k < context.track.size(); ++k) {
    if (!judgedStep(context, k)) continue;
    const SurveyImage& a = context.images[context.track[k - 1]];
    const SurveyImage& b = context.images[context.track[k]];
    const std::optional<FrameAlongTrack> frame = frameAlongTrack(a);
    if (!a.relativeAltitude || !b.relativeAltitude || !frame) continue;
    const double height = (*a.relativeAltitude + *b.relativeAltitude) / 2.0;
    const double footprint = height * frame->groundPerHeight;
    if (!(footprint > 0.0)) continue;
    anyStep = true;
    const double distance = stepDistance(context, k);
    const double overlap = std::max(0.0, 1.0 - distance / footprint);
    result.perImage[context.track[k]].overlapPrevious = overlap;
    if (!(overlap < context.settings.minOverlap) || atTurn(context, k)) continue;
    SurveyFinding finding;
    finding.kind = kind;
    finding.images = {context.track[k - 1], context.track[k]};
    std::sort(finding.images.begin(), finding.images.end());
    finding.detail = "consecutive frames " + decimalText(distance, 1) + " m apart overlap by " +
                     decimalText(overlap * 100.0, 0) + " % at " + decimalText(height, 1) +
                     " m above take-off";
    finding.numbers.push_back({"overlap", overlap, 2});
    finding.numbers.push_back({"distance_m", distance, 1});
    finding.numbers.push_back({"height_m", height, 1});
    result.findings.push_back(finding);
  }
  if (!anyStep) {
    notComputed(result, kind,
                "no two consecutive frames of one flight give positions, capture times, "
                "heights above take-off and their frame");
  }
}

void findMotionBlurRisk(const SurveyContext& context, std::size_t kind, SurveyResult& result) {
  std::string missing = missingGeometry(context);
  if (missing.empty() &&
      !anyImage(context, [](const SurveyImage& i) { return i.exposure.has_value(); })) {
    missing = "no image gives its exposure time";
  }
  if (!missing.empty()) {
    notComputed(result, kind, missing);
    return;
  }
  bool anyImageJudged = false;
  for (std::size_t k = 0; k < context.track.size(); ++k) {
    const std::size_t index = context.track[k];
    const SurveyImage& image = context.images[index];
    const std::optional<FrameAlongTrack> frame = frameAlongTrack(image);
    const std::optional<double> speed = groundSpeed(context, k);
    if (!image.exposure || !image.relativeAltitude || !frame || !speed) continue;
    const double groundPixel = *image.relativeAltitude * frame->groundPerHeight / frame->pixels;
    if (!(groundPixel > 0.0)) continue;
    anyImageJudged = true;
    const double smear = *image.exposure * *speed / groundPixel;
    if (!(smear > context.settings.blurGsdFraction)) continue;
    SurveyFinding finding;
    finding.kind = kind;
    finding.images.push_back(index);
    finding.detail = "at " + decimalText(*speed, 1) + " m/s the ground moves " +
                     decimalText(smear, 2) + " ground pixels while the shutter is open for " +
                     decimalText(*image.exposure, 5) + " s";
    finding.numbers.push_back({"blur_pixels", smear, 2});
    finding.numbers.push_back({"speed_m_s", *speed, 1});
    finding.numbers.push_back({"exposure_s", *image.exposure, 6});
    finding.numbers.push_back({"ground_pixel_m", groundPixel, 4});
    result.findings.push_back(finding);
  }
  if (!anyImageJudged) {
    notComputed(result, kind,
                "no frame gives its exposure time, its height above take-off, its frame and "
                "a ground speed together");
  }
}

void findBandMissing(const SurveyContext& context, std::size_t kind, SurveyResult& result) {
  const SurveyImages& images = context.images;
  struct Capture {
    std::vector<std::size_t> images;
    std::set<std::string> bands;
    std::size_t count() const { return bands.empty() ? images.size() : bands.size(); }
  };
  std::map<std::size_t, Capture> captures;  // by its first image
  for (std::size_t i = 0; i < images.size(); ++i) {
    if (!images[i].parsed || images[i].captureId.empty()) continue;
    Capture& capture = captures[context.capture[i]];
    capture.images.push_back(i);
    if (!images[i].bandName.empty()) capture.bands.insert(images[i].bandName);
  }
  std::map<std::size_t, std::size_t> capturesWith;  // band count -> captures
  for (const auto& entry : captures) ++capturesWith[entry.second.count()];
  std::size_t expected = 0;
  std::size_t most = 0;
  for (const auto& entry : capturesWith) {
    // Ties go to the larger set: a band lost as often as kept is still lost.
    if (entry.second >= most) {
      most = entry.second;
      expected = entry.first;
    }
  }
  for (const auto& entry : captures) {
    const Capture& capture = entry.second;
    if (capture.count() >= expected) continue;
    SurveyFinding finding;
    finding.kind = kind;
    finding.images = capture.images;
    finding.detail = "a multispectral capture with " + std::to_string(capture.count()) +
                     " bands where most have " + std::to_string(expected);
    finding.numbers.push_back({"bands", static_cast<double>(capture.count()), 0});
    finding.numbers.push_back({"expected_bands", static_cast<double>(expected), 0});
    result.findings.push_back(finding);
  }
}
