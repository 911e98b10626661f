#include "survey/survey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "lawnmower.h"
#include "survey/footprint.h"
#include "survey/nearest.h"
#include "survey/survey_kinds.h"

namespace {

using Images = SurveyImages;

std::string kindName(std::size_t kind) { return kSurveyKinds[kind].name; }

// Each finding as "kind: path path ...", in the survey's order.
std::vector<std::string> findingsOf(const Images& images, const SurveyResult& result) {
  std::vector<std::string> lines;
  for (const SurveyFinding& finding : result.findings) {
    std::string line = kindName(finding.kind) + ":";
    for (const std::size_t index : finding.images) line += " " + images[index].path;
    lines.push_back(line);
  }
  return lines;
}

SurveyImage& named(Images& images, const std::string& path) {
  for (SurveyImage& image : images) {
    if (image.path == path) return image;
  }
  ADD_FAILURE() << "no image " << path;
  return images.front();
}

void erase(Images& images, const std::string& path) {
  images.erase(std::remove_if(images.begin(), images.end(),
                              [&](const SurveyImage& image) { return image.path == path; }),
               images.end());
}

struct FaultCase {
  const char* name;
  LawnmowerPlan plan;
  std::function<void(Images&)> inject;
  std::vector<std::string> expected;
};

LawnmowerPlan multispectral() {
  LawnmowerPlan plan;
  plan.lines = 2;
  plan.framesPerLine = 6;
  plan.bands = {"Blue", "Green", "Red", "RedEdge", "NIR"};
  return plan;
}

const LawnmowerPlan kPlan;
const auto kNothing = [](Images&) {};

// The clean flights give nothing; each fault gives exactly its finding.
TEST(SurveyTest, LawnmowerGivesExactlyTheInjectedFinding) {
  const FaultCase cases[] = {
      {"clean", kPlan, kNothing, {}},
      {"clean without the camera's speeds",
       kPlan,
       [](Images& images) {
         for (SurveyImage& image : images) image.speed.reset();
       },
       {}},
      {"clean without yaw tags", kPlan,
       [](Images& images) {
         for (SurveyImage& image : images) image.flightYaw = image.gimbalYaw = std::nullopt;
       },
       {}},
      {"clean multispectral", multispectral(), kNothing, {}},
      {"null fix", kPlan,
       [](Images& images) { named(images, "flight/DJI_0005.JPG").latitude = 0.0,
                            named(images, "flight/DJI_0005.JPG").longitude = 0.0; },
       {"position-null: flight/DJI_0005.JPG"}},
      {"hover at the end", kPlan,
       [](Images& images) {
         for (int extra = 1; extra <= 2; ++extra) {
           SurveyImage image = images.back();
           image.time->seconds += extra;
           image.path = "flight/DJI_010" + std::to_string(extra) + ".JPG";
           images.push_back(image);
         }
       },
       {"position-repeated: flight/DJI_0040.JPG flight/DJI_0101.JPG flight/DJI_0102.JPG"}},
      {"one fix kilometres away", kPlan,
       [](Images& images) { moveBy(named(images, "flight/DJI_0020.JPG"), 5000.0, 0.0); },
       {"position-outlier: flight/DJI_0020.JPG"}},
      {"one name in two folders", kPlan,
       [](Images& images) { named(images, "flight/DJI_0007.JPG").path = "second/dji_0003.jpg"; },
       {"name-collision: flight/DJI_0003.JPG second/dji_0003.jpg"}},
      {"one frame written twice", kPlan,
       [](Images& images) {
         SurveyImage copy = named(images, "flight/DJI_0008.JPG");
         copy.path = "flight/DJI_0100.JPG";
         images.push_back(copy);
       },
       {"duplicate-frame: flight/DJI_0008.JPG flight/DJI_0100.JPG"}},
      {"camera lifted at take-off", kPlan,
       [](Images& images) { named(images, "flight/DJI_0001.JPG").gimbalPitch = -10.0; },
       {"horizon-frame: flight/DJI_0001.JPG"}},
      {"last line flown after a pause", kPlan,
       [](Images& images) {
         for (std::size_t i = 30; i < images.size(); ++i) images[i].time->seconds += 1800;
       },
       {"mixed-flights: flight/DJI_0001.JPG flight/DJI_0031.JPG"}},
      {"two frames missing", kPlan,
       [](Images& images) {
         erase(images, "flight/DJI_0015.JPG");
         erase(images, "flight/DJI_0016.JPG");
       },
       {"overlap-gap: flight/DJI_0014.JPG flight/DJI_0017.JPG"}},
      {"two frames missing, no speeds or yaw", kPlan,
       [](Images& images) {
         erase(images, "flight/DJI_0015.JPG");
         erase(images, "flight/DJI_0016.JPG");
         for (SurveyImage& image : images) {
           image.speed.reset();
           image.flightYaw = image.gimbalYaw = std::nullopt;
         }
       },
       {"overlap-gap: flight/DJI_0014.JPG flight/DJI_0017.JPG"}},
      {"long exposure", kPlan,
       [](Images& images) { named(images, "flight/DJI_0025.JPG").exposure = 1.0 / 200.0; },
       {"motion-blur-risk: flight/DJI_0025.JPG"}},
      {"long exposure, speed from positions", kPlan,
       [](Images& images) {
         for (SurveyImage& image : images) image.speed.reset();
         named(images, "flight/DJI_0025.JPG").exposure = 1.0 / 200.0;
       },
       {"motion-blur-risk: flight/DJI_0025.JPG"}},
      {"a band lost", multispectral(),
       [](Images& images) { erase(images, "flight/DJI_0043.TIF"); },
       {"band-missing: flight/DJI_0041.TIF flight/DJI_0042.TIF flight/DJI_0044.TIF "
        "flight/DJI_0045.TIF"}},
      {"an edited copy", kPlan,
       [](Images& images) { named(images, "flight/DJI_0012.JPG").sizeMismatch = true; },
       {"size-mismatch: flight/DJI_0012.JPG"}},
  };
  for (const FaultCase& test : cases) {
    Images images = lawnmowerImages(test.plan);
    test.inject(images);
    const SurveyResult result = surveyBatch(images, SurveySettings{});
    EXPECT_EQ(findingsOf(images, result), test.expected) << test.name;
    EXPECT_TRUE(result.notComputed.empty()) << test.name << ": " << result.notComputed[0].reason;
  }
}

// A bad fix leaves its neighbours unjudged rather than showing as gaps around it.
TEST(SurveyTest, BadFixesStayOutOfFlightsAndOverlap) {
  Images images = lawnmowerImages(kPlan);
  named(images, "flight/DJI_0005.JPG").latitude = 0.0;
  named(images, "flight/DJI_0005.JPG").longitude = 0.0;
  moveBy(named(images, "flight/DJI_0006.JPG"), 0.0, 4000.0);
  const SurveyResult result = surveyBatch(images, SurveySettings{});
  EXPECT_EQ(findingsOf(images, result),
            (std::vector<std::string>{"position-null: flight/DJI_0005.JPG",
                                      "position-outlier: flight/DJI_0006.JPG"}));
  EXPECT_FALSE(result.perImage[4].flight);
  EXPECT_FALSE(result.perImage[5].flight);
  EXPECT_FALSE(result.perImage[6].overlapPrevious);
  ASSERT_EQ(result.flights.size(), 1u);
  EXPECT_EQ(result.flights[0].images, images.size() - 2);
}

TEST(SurveyTest, FlightsAndPerImageFacts) {
  Images images = lawnmowerImages(kPlan);
  for (std::size_t i = 20; i < images.size(); ++i) {
    images[i].time->seconds += 3600;
    images[i].relativeAltitude = 80.0;
  }
  const SurveyResult result = surveyBatch(images, SurveySettings{});
  ASSERT_EQ(result.flights.size(), 2u);
  EXPECT_EQ(result.flights[0].first, 0u);
  EXPECT_EQ(result.flights[0].last, 19u);
  EXPECT_EQ(result.flights[0].images, 20u);
  EXPECT_EQ(result.flights[0].start, "2023-11-14T22:13:20");
  EXPECT_EQ(result.flights[1].first, 20u);
  EXPECT_EQ(result.flights[1].last, 39u);
  EXPECT_EQ(result.flights[1].medianHeightM, 80.0);
  EXPECT_EQ(result.perImage[25].flight, 2u);
  EXPECT_FALSE(result.perImage[0].overlapPrevious);
  ASSERT_TRUE(result.perImage[1].overlapPrevious);
  EXPECT_NEAR(*result.perImage[1].overlapPrevious, 0.80, 1e-6);
  ASSERT_EQ(result.perImage[20].kinds.size(), 1u);
  EXPECT_EQ(kindName(result.perImage[20].kinds[0]), "mixed-flights");
}

// Without a height above ground nothing is estimated, and the survey says why instead.
TEST(SurveyTest, WithoutHeightOverlapAndBlurAreNotComputed) {
  Images images = lawnmowerImages(kPlan);
  erase(images, "flight/DJI_0015.JPG");
  erase(images, "flight/DJI_0016.JPG");
  for (SurveyImage& image : images) image.relativeAltitude.reset();
  const SurveyResult result = surveyBatch(images, SurveySettings{});
  EXPECT_TRUE(result.findings.empty());
  ASSERT_EQ(result.notComputed.size(), 2u);
  EXPECT_EQ(kindName(result.notComputed[0].kind), "overlap-gap");
  EXPECT_EQ(kindName(result.notComputed[1].kind), "motion-blur-risk");
  EXPECT_NE(result.notComputed[0].reason.find("height above take-off"), std::string::npos);
  EXPECT_FALSE(result.perImage[3].overlapPrevious);
}

TEST(SurveyTest, PositionsAndMomentsEdgeCases) {
  struct Case {
    const char* name;
    std::function<void(Images&)> inject;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"every image on one fix",
       [](Images& images) {
         images.resize(2);
         images[1].latitude = images[0].latitude;
         images[1].longitude = images[0].longitude;
       },
       {"position-repeated: flight/DJI_0001.JPG flight/DJI_0002.JPG"}},
      {"same second, other sub-seconds",
       [](Images& images) {
         SurveyImage copy = images[3];
         copy.path = "flight/DJI_0100.JPG";
         copy.time->fraction = *copy.time->fraction + 0.5 > 0.99 ? 0.0 : *copy.time->fraction + 0.5;
         images.push_back(copy);
       },
       {}},
      {"same second, one without sub-seconds",
       [](Images& images) {
         SurveyImage copy = images[3];
         copy.path = "flight/DJI_0100.JPG";
         copy.time->fraction.reset();
         images.push_back(copy);
       },
       {"duplicate-frame: flight/DJI_0004.JPG flight/DJI_0100.JPG"}},
      {"names differ only in case in one folder",
       [](Images& images) { images[1].path = "flight/dji_0001.jpg"; },
       {}},
      {"an unread image still collides by name",
       [](Images& images) {
         SurveyImage unread;
         unread.path = "copy/DJI_0002.JPG";
         images.push_back(unread);
       },
       {"name-collision: flight/DJI_0002.JPG copy/DJI_0002.JPG"}},
  };
  for (const Case& test : cases) {
    Images images = lawnmowerImages(kPlan);
    test.inject(images);
    EXPECT_EQ(findingsOf(images, surveyBatch(images, SurveySettings{})), test.expected)
        << test.name;
  }
}

// A camera turned across the track has its longer side along it.
TEST(FootprintTest, SideAlongTheTrack) {
  struct Case {
    std::optional<double> f35, focal, sensorW, sensorH, gimbalYaw;
    double groundPerHeight;
    double pixels;
  };
  const Case cases[] = {
      {24.0, std::nullopt, std::nullopt, std::nullopt, 0.0, 43.27 * 0.6 / 24.0, 3000},
      {24.0, std::nullopt, std::nullopt, std::nullopt, 90.0, 43.27 * 0.8 / 24.0, 4000},
      {24.0, std::nullopt, std::nullopt, std::nullopt, 180.0, 43.27 * 0.6 / 24.0, 3000},
      {std::nullopt, 8.8, 13.2, 8.8, 0.0, 1.0, 3000},
      {std::nullopt, 8.8, 13.2, 8.8, 270.0, 1.5, 4000},
  };
  for (const Case& test : cases) {
    SurveyImage image;
    image.width = 4000;
    image.height = 3000;
    image.focalLength35mm = test.f35;
    image.focalLength = test.focal;
    image.sensorWidth = test.sensorW;
    image.sensorHeight = test.sensorH;
    image.gimbalYaw = test.gimbalYaw;
    image.flightYaw = 0.0;
    const std::optional<FrameAlongTrack> frame = frameAlongTrack(image);
    ASSERT_TRUE(frame);
    EXPECT_NEAR(frame->groundPerHeight, test.groundPerHeight, 1e-9);
    EXPECT_EQ(frame->pixels, test.pixels);
  }
  SurveyImage unknown;
  unknown.width = 4000;
  unknown.height = 3000;
  unknown.focalLength = 8.8;
  EXPECT_FALSE(frameAlongTrack(unknown));
}

// The tree gives what comparing every pair gives, on clusters, lines and duplicates.
TEST(NearestTest, MatchesEveryPair) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> spread(-0.01, 0.01);
  for (const std::size_t count : {2u, 3u, 50u, 400u}) {
    std::vector<GeoPoint> points;
    for (std::size_t i = 0; i < count; ++i) {
      // A third on one meridian, a third on repeated fixes, the rest scattered.
      if (i % 3 == 0) points.push_back({47.0 + spread(random), 8.0});
      if (i % 3 == 1) points.push_back({47.0, 8.0 + static_cast<double>(i % 4) * 0.001});
      if (i % 3 == 2) points.push_back({47.0 + spread(random), 8.0 + spread(random)});
    }
    points.push_back({-47.0, -172.0});  // the far side of the globe
    const std::vector<double> distances = nearestDistances(points);
    ASSERT_EQ(distances.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
      double best = 1e300;
      for (std::size_t j = 0; j < points.size(); ++j) {
        if (j == i) continue;
        best = std::min(best, groundDistance(points[i].latitude, points[i].longitude,
                                             points[j].latitude, points[j].longitude));
      }
      EXPECT_NEAR(distances[i], best, 1e-6) << count << " points, point " << i;
    }
  }
  EXPECT_TRUE(nearestDistances({{1.0, 1.0}}).empty());
}

TEST(NearestTest, GroundDistance) {
  // A degree of latitude on the mean sphere, and half the globe.
  EXPECT_NEAR(groundDistance(0.0, 0.0, 1.0, 0.0), 111195.08, 0.01);
  EXPECT_NEAR(groundDistance(0.0, 0.0, 0.0, 180.0), 20015114.44, 0.01);
}

}  // namespace
