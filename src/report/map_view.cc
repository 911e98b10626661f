#include "report/map_view.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "report/image_fields.h"
#include "common/numbers.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadius = 6371008.8;  // metres, the mean radius
constexpr double kMetresPerDegree = kEarthRadius * kPi / 180.0;

// A point farther than this many times the median distance is an outlier (up to half
// the batch may be strays); a batch within the least distance has none.
constexpr double kOutlierFactor = 4.0;
constexpr double kLeastOutlierDistance = 200.0;
// The least half width and height of the view, for a batch taken from one spot.
constexpr double kLeastHalfSpan = 25.0;
constexpr double kMargin = 0.05;  // of the span, on every side

// Longitude difference in (-180, 180], so a batch across the antimeridian stays whole.
double longitudeDifference(double longitude, double from) {
  double difference = std::fmod(longitude - from, 360.0);
  if (difference > 180.0) difference -= 360.0;
  if (difference <= -180.0) difference += 360.0;
  return difference;
}

}  // namespace

LocalProjection projectionAround(const std::vector<GeoPosition>& positions) {
  std::vector<double> latitudes, longitudes;
  for (const GeoPosition& position : positions) {
    latitudes.push_back(position.latitude);
    longitudes.push_back(position.longitude);
  }
  LocalProjection projection;
  projection.centre = GeoPosition{median(latitudes), median(longitudes)};
  projection.metresPerDegreeNorth = kMetresPerDegree;
  projection.metresPerDegreeEast =
      kMetresPerDegree * std::cos(projection.centre.latitude * kPi / 180.0);
  return projection;
}

MapPoint project(const LocalProjection& projection, const GeoPosition& position) {
  return MapPoint{
      longitudeDifference(position.longitude, projection.centre.longitude) *
          projection.metresPerDegreeEast,
      (position.latitude - projection.centre.latitude) * projection.metresPerDegreeNorth};
}

MapView robustView(const std::vector<MapPoint>& points) {
  MapView view;
  view.outlier.assign(points.size(), false);
  std::vector<double> distances;
  for (const MapPoint& point : points) distances.push_back(std::hypot(point.x, point.y));
  if (!distances.empty()) {
    std::vector<double> sorted = distances;
    std::sort(sorted.begin(), sorted.end());
    const double middle = sorted[(sorted.size() - 1) / 2];
    const double fence = std::max(kOutlierFactor * middle, kLeastOutlierDistance);
    for (std::size_t i = 0; i < points.size(); ++i) view.outlier[i] = distances[i] > fence;
  }
  bool first = true;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (view.outlier[i]) continue;
    const MapPoint& point = points[i];
    view.minX = first ? point.x : std::min(view.minX, point.x);
    view.maxX = first ? point.x : std::max(view.maxX, point.x);
    view.minY = first ? point.y : std::min(view.minY, point.y);
    view.maxY = first ? point.y : std::max(view.maxY, point.y);
    first = false;
  }
  const auto widen = [](double& low, double& high) {
    const double middle = (low + high) / 2;
    const double half = std::max((high - low) / 2 * (1 + 2 * kMargin), kLeastHalfSpan);
    low = middle - half;
    high = middle + half;
  };
  widen(view.minX, view.maxX);
  widen(view.minY, view.maxY);
  return view;
}

MapPoint onEdge(const MapView& view, const MapPoint& point) {
  const double middleX = (view.minX + view.maxX) / 2, middleY = (view.minY + view.maxY) / 2;
  const double dx = point.x - middleX, dy = point.y - middleY;
  const double halfWidth = (view.maxX - view.minX) / 2, halfHeight = (view.maxY - view.minY) / 2;
  // The largest step along the direction that stays inside the rectangle.
  double scale = 1.0;
  if (std::abs(dx) > halfWidth) scale = std::min(scale, halfWidth / std::abs(dx));
  if (std::abs(dy) > halfHeight) scale = std::min(scale, halfHeight / std::abs(dy));
  return MapPoint{middleX + dx * scale, middleY + dy * scale};
}

std::string distanceText(double metres) {
  if (metres < 1000.0) return decimalText(std::round(metres), 0) + " m";
  if (metres < 100000.0) return decimalText(std::round(metres / 100.0) / 10.0, 1) + " km";
  return decimalText(std::round(metres / 1000.0), 0) + " km";
}

double groundDistance(const GeoPosition& a, const GeoPosition& b) {
  const double radians = kPi / 180.0;
  const double dLatitude = (b.latitude - a.latitude) * radians;
  const double dLongitude = (b.longitude - a.longitude) * radians;
  const double h = std::pow(std::sin(dLatitude / 2), 2) + std::cos(a.latitude * radians) *
                                                             std::cos(b.latitude * radians) *
                                                             std::pow(std::sin(dLongitude / 2), 2);
  return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}
