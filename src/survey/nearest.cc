#include "survey/nearest.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

#include "common/in_two_parts.h"

namespace {

constexpr double kEarthRadiusM = 6371008.8;
// Below this many points a second thread costs more than the searches it takes over.
constexpr std::size_t kPointsWorthAThread = 2000;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

using Point = std::array<double, 3>;

Point onSphere(const GeoPoint& point) {
  const double lat = point.latitude * kRadiansPerDegree;
  const double lon = point.longitude * kRadiansPerDegree;
  return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

double squaredChord(const Point& a, const Point& b) {
  double sum = 0.0;
  for (std::size_t axis = 0; axis < 3; ++axis) sum += (a[axis] - b[axis]) * (a[axis] - b[axis]);
  return sum;
}

// The tree is the order of `order` itself: the median of each range is its node, split
// on the axis of its depth.
class KdTree {
 public:
  explicit KdTree(const std::vector<Point>& points) : points_(points), order_(points.size()) {
    for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = i;
    build(0, order_.size(), 0);
  }

  // The squared chord to the nearest point other than `self`.
  double nearestTo(std::size_t self) const {
    double best = std::numeric_limits<double>::infinity();
    search(self, 0, order_.size(), 0, best);
    return best;
  }

 private:
  void build(std::size_t begin, std::size_t end, std::size_t axis) {
    // Iterative on the larger half keeps the stack at log n whatever the points.
    while (end - begin > 1) {
      const std::size_t middle = begin + (end - begin) / 2;
      const auto first = order_.begin();
      std::nth_element(first + static_cast<std::ptrdiff_t>(begin),
                       first + static_cast<std::ptrdiff_t>(middle),
                       first + static_cast<std::ptrdiff_t>(end),
                       [&](std::size_t a, std::size_t b) {
                         return points_[a][axis] < points_[b][axis];
                       });
      const std::size_t next = (axis + 1) % 3;
      build(begin, middle, next);
      begin = middle + 1;
      axis = next;
    }
  }

  void search(std::size_t self, std::size_t begin, std::size_t end, std::size_t axis,
              double& best) const {
    while (begin < end && best > 0.0) {
      const std::size_t middle = begin + (end - begin) / 2;
      const std::size_t node = order_[middle];
      if (node != self) best = std::min(best, squaredChord(points_[self], points_[node]));
      const double along = points_[self][axis] - points_[node][axis];
      const std::size_t next = (axis + 1) % 3;
      // The near side first, then the far side only when it could hold a nearer point.
      if (along < 0.0) {
        search(self, begin, middle, next, best);
        if (along * along >= best) return;
        begin = middle + 1;
      } else {
        search(self, middle + 1, end, next, best);
        if (along * along >= best) return;
        end = middle;
      }
      axis = next;
    }
  }

  const std::vector<Point>& points_;
  std::vector<std::size_t> order_;
};

}  // namespace

std::vector<double> nearestDistances(const std::vector<GeoPoint>& points) {
  if (points.size() < 2) return {};
  std::vector<Point> onGlobe;
  onGlobe.reserve(points.size());
  for (const GeoPoint& point : points) onGlobe.push_back(onSphere(point));
  const KdTree tree(onGlobe);
  std::vector<double> distances(points.size());
  inTwoParts(points.size(), kPointsWorthAThread, [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
      const double chord = std::sqrt(tree.nearestTo(i));
      // The chord to the arc: exact at every distance, so a fix on the far side of the
      // globe reads as far as it is.
      distances[i] = 2.0 * kEarthRadiusM * std::asin(std::min(1.0, chord / 2.0));
    }
  });
  return distances;
}

double groundDistance(double lat1, double lon1, double lat2, double lon2) {
  const Point a = onSphere(GeoPoint{lat1, lon1});
  const Point b = onSphere(GeoPoint{lat2, lon2});
  const double chord = std::sqrt(squaredChord(a, b));
  return 2.0 * kEarthRadiusM * std::asin(std::min(1.0, chord / 2.0));
}
