// The nearest other point of every point on the globe, through a k-d tree over points
// on the unit sphere: O(n log n) for survey flights, where a sort along one axis would
// scan whole flight lines that share a longitude.
#ifndef PRECHECK_SURVEY_NEAREST_H_
#define PRECHECK_SURVEY_NEAREST_H_

#include <vector>

struct GeoPoint {
  double latitude;
  double longitude;
};

// Per point, the great-circle distance in metres to the nearest other point (0 for a
// point shared with another); empty for fewer than two points.
std::vector<double> nearestDistances(const std::vector<GeoPoint>& points);

// Great-circle distance in metres on the mean sphere.
double groundDistance(double lat1, double lon1, double lat2, double lon2);

#endif  // PRECHECK_SURVEY_NEAREST_H_
