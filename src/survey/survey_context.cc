#include "survey/survey_context.h"

#include <algorithm>
#include <map>
#include <string>

#include "common/numbers.h"
#include "exif/capture_time.h"
#include "survey/nearest.h"

namespace {

// Per image, the first image in list order of its capture id.
std::vector<std::size_t> capturesOf(const SurveyImages& images) {
  std::vector<std::size_t> capture(images.size());
  std::map<std::string, std::size_t> firstOf;
  for (std::size_t i = 0; i < images.size(); ++i) {
    capture[i] = i;
    if (images[i].captureId.empty() || !images[i].parsed) continue;
    capture[i] = firstOf.emplace(images[i].captureId, i).first->second;
  }
  return capture;
}

bool earlier(const SurveyImage& a, const SurveyImage& b) {
  if (a.time->seconds != b.time->seconds) return a.time->seconds < b.time->seconds;
  return a.time->fraction.value_or(0.0) < b.time->fraction.value_or(0.0);
}

double secondsBetween(const SurveyTime& a, const SurveyTime& b) {
  return static_cast<double>(b.seconds - a.seconds) + b.fraction.value_or(0.0) -
         a.fraction.value_or(0.0);
}

void markBadFixes(SurveyContext& context) {
  const SurveyImages& images = context.images;
  std::vector<std::size_t> positioned;
  std::vector<GeoPoint> points;
  for (std::size_t i = 0; i < images.size(); ++i) {
    if (!context.hasPosition(i)) continue;
    if (*images[i].latitude == 0.0 && *images[i].longitude == 0.0) {
      context.nullPosition[i] = true;
      continue;
    }
    if (!context.standsForCapture(i)) continue;
    positioned.push_back(i);
    points.push_back(GeoPoint{*images[i].latitude, *images[i].longitude});
  }
  const std::vector<double> distances = nearestDistances(points);
  for (std::size_t k = 0; k < distances.size(); ++k) context.nearest[positioned[k]] = distances[k];
  context.medianNearest = median(distances);
  const SurveySettings& settings = context.settings;
  for (std::size_t i = 0; i < images.size(); ++i) {
    const std::optional<double>& distance = context.nearest[context.capture[i]];
    context.outlier[i] = !context.nullPosition[i] && context.hasPosition(i) && distance &&
                         *distance > settings.outlierDistanceM &&
                         *distance > settings.outlierMedianFactor * context.medianNearest;
  }
}

// Flights split where consecutive capture times are further apart than the setting.
void splitFlights(SurveyContext& context, SurveyResult& result) {
  const SurveyImages& images = context.images;
  for (std::size_t i = 0; i < images.size(); ++i) {
    if (images[i].parsed && images[i].time && context.standsForCapture(i)) {
      context.timeOrder.push_back(i);
    }
  }
  std::stable_sort(context.timeOrder.begin(), context.timeOrder.end(),
                   [&](std::size_t a, std::size_t b) { return earlier(images[a], images[b]); });
  bool skipped = false;
  for (const std::size_t index : context.timeOrder) {
    if (context.badFix(index)) {
      skipped = true;
      continue;
    }
    context.badFixBefore.push_back(skipped && !context.track.empty());
    context.track.push_back(index);
    skipped = false;
  }
  const double gap = context.settings.flightGapMinutes * 60.0;
  std::vector<std::vector<double>> heights;
  for (std::size_t k = 0; k < context.track.size(); ++k) {
    const SurveyImage& image = images[context.track[k]];
    if (k == 0 || secondsBetween(*images[context.track[k - 1]].time, *image.time) > gap) {
      SurveyFlight flight;
      flight.first = context.track[k];
      flight.start = isoText(CaptureTime{image.time->seconds, 0, false});
      result.flights.push_back(flight);
      heights.emplace_back();
    }
    SurveyFlight& flight = result.flights.back();
    flight.last = context.track[k];
    context.trackFlight.push_back(result.flights.size() - 1);
    if (image.relativeAltitude) heights.back().push_back(*image.relativeAltitude);
  }
  std::vector<std::optional<std::size_t>> flightOf(images.size());
  for (std::size_t k = 0; k < context.track.size(); ++k) {
    flightOf[context.track[k]] = context.trackFlight[k];
  }
  for (std::size_t i = 0; i < images.size(); ++i) {
    const std::optional<std::size_t>& flight = flightOf[context.capture[i]];
    if (!flight || context.badFix(i)) continue;
    result.perImage[i].flight = *flight + 1;
    ++result.flights[*flight].images;
  }
  for (std::size_t f = 0; f < result.flights.size(); ++f) {
    if (!heights[f].empty()) result.flights[f].medianHeightM = median(heights[f]);
  }
}

}  // namespace

bool SurveyContext::hasPosition(std::size_t index) const {
  const SurveyImage& image = images[index];
  return image.parsed && image.latitude && image.longitude;
}

SurveyContext surveyContextOf(const SurveyImages& images,
                              const SurveySettings& settings, SurveyResult& result) {
  SurveyContext context{images, settings, capturesOf(images), {}, {}, 0.0, {}, {}, {}, {}, {}};
  context.nullPosition.assign(images.size(), false);
  context.nearest.assign(images.size(), std::nullopt);
  context.outlier.assign(images.size(), false);
  result.images = images.size();
  result.perImage.assign(images.size(), SurveyImageFacts{});
  markBadFixes(context);
  splitFlights(context, result);
  return context;
}
