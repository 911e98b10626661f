// Where the map of the page puts each image: a local metric projection around the
// batch, and the part of it that is drawn to scale, so that a stray position far away
// does not shrink the batch to a dot.
#ifndef PRECHECK_REPORT_MAP_VIEW_H_
#define PRECHECK_REPORT_MAP_VIEW_H_

#include <string>
#include <vector>

struct GeoPosition {
  double latitude = 0.0;  // degrees
  double longitude = 0.0;
};

// Metres east (x) and north (y) of the projection's centre.
struct MapPoint {
  double x = 0.0;
  double y = 0.0;
};

// Equirectangular around the median latitude and longitude: over the few kilometres of
// a flight its distortion is far below what a map of marks shows.
struct LocalProjection {
  GeoPosition centre;
  double metresPerDegreeEast = 0.0;
  double metresPerDegreeNorth = 0.0;
};

LocalProjection projectionAround(const std::vector<GeoPosition>& positions);
MapPoint project(const LocalProjection& projection, const GeoPosition& position);

// The rectangle drawn to scale, in metres, and which points lie outside it: those
// farther from the centre than a few times the median distance.
struct MapView {
  double minX = 0.0, maxX = 0.0, minY = 0.0, maxY = 0.0;
  std::vector<bool> outlier;  // per point, in the order given
};

MapView robustView(const std::vector<MapPoint>& points);

// Where an outlier is drawn: on the edge of the view, in its direction from the view's
// middle.
MapPoint onEdge(const MapView& view, const MapPoint& point);

// The distance along the ground (great circle), right also for a stray on another
// continent, where the local projection is not.
double groundDistance(const GeoPosition& a, const GeoPosition& b);

// The straight distance of a point from the centre, as people read it: "850 m", "12.4 km".
std::string distanceText(double metres);

#endif  // PRECHECK_REPORT_MAP_VIEW_H_
