#include "report/map_view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(MapView, ProjectsMetresAroundTheMedianPosition) {
  // 0.001 degrees north is about 111 m everywhere; east it shrinks with the latitude.
  const LocalProjection projection =
      projectionAround({{60.0, 10.0}, {60.001, 10.001}, {60.002, 10.002}});
  EXPECT_DOUBLE_EQ(projection.centre.latitude, 60.001);
  const MapPoint north = project(projection, {60.002, 10.001});
  EXPECT_NEAR(north.x, 0.0, 1e-6);
  EXPECT_NEAR(north.y, 111.2, 0.1);
  const MapPoint east = project(projection, {60.001, 10.002});
  EXPECT_NEAR(east.x, 55.6, 0.1);
  // Across the antimeridian a batch stays together.
  const LocalProjection across = projectionAround({{0.0, 179.9995}, {0.0, -179.9995}});
  EXPECT_NEAR(std::abs(project(across, {0.0, 179.9995}).x - project(across, {0.0, -179.9995}).x),
              111.2, 0.1);
}

// A grid of 100 frames over 200 m, and a few strays far away: the strays are
// outliers, and the view holds the grid only.
TEST(MapView, FarPositionsAreOutliersAndDoNotWidenTheView) {
  std::vector<MapPoint> points;
  for (int i = 0; i < 100; ++i) points.push_back({i % 10 * 20.0 - 90, i / 10 * 20.0 - 90});
  points.push_back({5000.0, 0.0});
  points.push_back({-3000.0, -40000.0});
  const MapView view = robustView(points);
  for (std::size_t i = 0; i < 100; ++i) EXPECT_FALSE(view.outlier[i]) << i;
  EXPECT_TRUE(view.outlier[100]);
  EXPECT_TRUE(view.outlier[101]);
  EXPECT_LT(view.maxX - view.minX, 250.0);
  EXPECT_GT(view.maxX - view.minX, 180.0);
  EXPECT_LT(view.maxY - view.minY, 250.0);
  // On the edge, in its direction.
  const MapPoint edge = onEdge(view, points[100]);
  EXPECT_DOUBLE_EQ(edge.x, view.maxX);
  EXPECT_NEAR(edge.y, 0.0, 1.0);
  EXPECT_DOUBLE_EQ(onEdge(view, points[101]).y, view.minY);
  EXPECT_DOUBLE_EQ(onEdge(view, points[5]).x, points[5].x);
}

// Photographs from elsewhere beside a flight, nearly as many as its frames: the view
// still holds the flight.
TEST(MapView, ManyStraysStillLeaveTheFlightInView) {
  std::vector<MapPoint> points;
  for (int i = 0; i < 8; ++i) points.push_back({0.0, i * 30.0});
  for (int i = 1; i <= 7; ++i) points.push_back({i * 1e6, -i * 3e5});
  const MapView view = robustView(points);
  for (std::size_t i = 0; i < points.size(); ++i) EXPECT_EQ(view.outlier[i], i >= 8) << i;
  EXPECT_LT(view.maxY - view.minY, 300.0);
}

TEST(MapView, GroundDistanceAlongTheGreatCircle) {
  EXPECT_NEAR(groundDistance({0, 0}, {0, 180}), 20015114, 1);
  EXPECT_NEAR(groundDistance({30.5, 114.36}, {31.5, 114.36}), 111195, 1);
  EXPECT_NEAR(groundDistance({51.5, -0.1}, {40.7, -74.0}), 5570000, 10000);
}

TEST(MapView, SmallOrEvenBatchesHaveNoOutliers) {
  const std::vector<std::vector<MapPoint>> batches = {
      {{0, 0}},
      {{0, 0}, {0, 0}, {0, 0}},
      {{0, 0}, {150, 0}},
      // Two flights 3 km apart, half the frames each.
      {{-1500, 0}, {-1490, 0}, {-1480, 0}, {1500, 0}, {1490, 0}, {1480, 0}},
  };
  for (const std::vector<MapPoint>& points : batches) {
    const MapView view = robustView(points);
    for (std::size_t i = 0; i < points.size(); ++i) EXPECT_FALSE(view.outlier[i]);
    EXPECT_GE(view.maxX - view.minX, 50.0);
    EXPECT_GE(view.maxY - view.minY, 50.0);
  }
}

TEST(MapView, DistancesAsPeopleReadThem) {
  const struct {
    double metres;
    const char* text;
  } cases[] = {{0.4, "0 m"}, {850.2, "850 m"}, {999.4, "999 m"}, {1000, "1 km"},
               {12449, "12.4 km"}, {250400, "250 km"}};
  for (const auto& c : cases) EXPECT_EQ(distanceText(c.metres), c.text) << c.metres;
}

}  // namespace
