// --survey and --strict: the survey of the batch as JSON, and a run that passes the
// checks but not the survey. The transcript and error.json stay what they are.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <functional>

#include "batch_run.h"
#include "lawnmower.h"

namespace {

PhotoSpec frameAt(double latitude, double longitude, const std::string& time) {
  PhotoSpec photo = surveyPhoto();
  photo.gps = GpsSpec{latitude, longitude, 152.3};
  photo.dateTimeOriginal = time;
  return photo;
}

// Three frames of one flight, 20 m apart.
void addFlight(const Batch& batch) {
  batch.addPhoto("a.jpg", frameAt(30.5, 114.3608, "2024:05:01 10:00:00"));
  batch.addPhoto("b.jpg", frameAt(30.50018, 114.3608, "2024:05:01 10:00:04"));
  batch.addPhoto("c.jpg", frameAt(30.50036, 114.3608, "2024:05:01 10:00:08"));
}

const std::string kNotComputed =
    "\"not_computed\":[{\"kind\":\"horizon-frame\",\"reason\":\"no image gives its gimbal "
    "pitch\"},{\"kind\":\"overlap-gap\",\"reason\":\"no image gives its height above take-off "
    "(relative altitude), and a height from the GPS altitude would be a guess\"},{\"kind\":"
    "\"motion-blur-risk\",\"reason\":\"no image gives its height above take-off (relative "
    "altitude), and a height from the GPS altitude would be a guess\"}]}\n";

TEST(Survey, CleanFlightHasNoFindingsAndStrictPasses) {
  Batch batch;
  addFlight(batch);
  const ProgramRun plain = batch.run(kAllChecks);
  ASSERT_EQ(plain.exitCode, 0);
  const ProgramRun run = batch.run(kAllChecks, {"--strict", "--survey", "survey.json"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, plain.output);
  EXPECT_FALSE(batch.hasReport());
  EXPECT_EQ(readFileBytes(batch.folder().at("survey.json")),
            "{\"images\":3,\"flights\":[{\"first\":\"a.jpg\",\"last\":\"c.jpg\",\"images\":3,"
            "\"start\":\"2024-05-01T10:00:00\",\"median_height_m\":null}],\"findings\":[]," +
                kNotComputed);
}

// A copy of a frame in a subfolder under another case of its name, and a second flight
// an hour later: findings that --strict turns into exit code 3, with paths in "/".
TEST(Survey, FindingsNamePathsAndStrictExitsWithThree) {
  Batch batch;
  addFlight(batch);
  batch.folder().makeFolder("images/sub");
  batch.addPhoto("sub/A.JPG", frameAt(30.50054, 114.3608, "2024:05:01 11:00:00"));
  const ProgramRun plain = batch.run(kAllChecks);
  ASSERT_EQ(plain.exitCode, 0);
  const ProgramRun run = batch.run(kAllChecks, {"--survey=survey.json"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, plain.output);
  EXPECT_EQ(readFileBytes(batch.folder().at("survey.json")),
            "{\"images\":4,\"flights\":[{\"first\":\"a.jpg\",\"last\":\"c.jpg\",\"images\":3,"
            "\"start\":\"2024-05-01T10:00:00\",\"median_height_m\":null},{\"first\":"
            "\"sub/A.JPG\",\"last\":\"sub/A.JPG\",\"images\":1,\"start\":\"2024-05-01T11:00:00\","
            "\"median_height_m\":null}],\"findings\":[{\"kind\":\"name-collision\",\"images\":"
            "[\"a.jpg\",\"sub/A.JPG\"],\"detail\":\"the same file name in 2 folders; a tool that "
            "puts all images in one folder keeps only one\"},{\"kind\":\"mixed-flights\","
            "\"images\":[\"a.jpg\",\"sub/A.JPG\"],\"detail\":\"2 flights in one batch, each "
            "starting after a pause of more than 10 minutes\",\"flights\":2}]," +
                kNotComputed);
  const ProgramRun strict = batch.run(kAllChecks, {"--strict"});
  EXPECT_EQ(strict.exitCode, 3);
  EXPECT_EQ(strict.output, plain.output);
  EXPECT_FALSE(batch.hasReport());
  // Failing checks keep exit code 1.
  batch.addPhoto("d.jpg", frameAt(30.50072, 114.3608, "2024:05:01 11:00:04"));
  PhotoSpec other = frameAt(30.5009, 114.3608, "2024:05:01 11:00:08");
  other.make = "Canon";
  batch.addPhoto("e.jpg", other);
  EXPECT_EQ(batch.run(kAllChecks, {"--strict"}).exitCode, 1);
}

// The thresholds are options; a survey file below the input folder must be one of ours.
TEST(Survey, ThresholdsAndWhereTheFileGoes) {
  Batch batch;
  addFlight(batch);
  batch.addPhoto("d.jpg", frameAt(30.50054, 114.3608, "2024:05:01 10:09:00"));
  EXPECT_EQ(batch.run(kAllChecks, {"--strict"}).exitCode, 0);
  EXPECT_EQ(batch.run(kAllChecks, {"--strict", "--flight-gap", "5"}).exitCode, 3);
  EXPECT_EQ(batch.run(kAllChecks, {"--strict", "--flight-gap=0.5"}).exitCode, 3);
  RunOptions keep;
  keep.keepErrors = true;
  for (const char* wrong : {"-1", "ten", "1e3", "nan", "5,0"}) {
    const ProgramRun run = batch.run(kAllChecks, {"--flight-gap", wrong}, keep);
    EXPECT_EQ(run.exitCode, 2) << wrong;
    EXPECT_NE(run.errors.find("--flight-gap needs a number"), std::string::npos) << wrong;
  }
  const ProgramRun onImage =
      batch.run(kAllChecks, {"--survey", batch.imagePath("a.jpg")}, keep);
  EXPECT_EQ(onImage.exitCode, 2);
  EXPECT_NE(onImage.errors.find("an image of the batch"), std::string::npos);
  // A survey written below the input folder is replaced on the next run, and is no image.
  const std::string inside = batch.imagePath("survey.json");
  EXPECT_EQ(batch.run(kAllChecks, {"--survey", inside}).exitCode, 0);
  EXPECT_EQ(batch.run(kAllChecks, {"--survey", inside}).exitCode, 0);
  EXPECT_EQ(readFileBytes(inside).rfind("{\"images\":4,", 0), 0u);
}

// Each finding of a survey file as "kind: path path ...".
std::vector<std::string> findingsIn(const std::string& json) {
  rapidjson::Document document;
  document.Parse(json.c_str(), json.size());
  std::vector<std::string> lines;
  if (document.HasParseError() || !document.IsObject()) return {"not JSON: " + json};
  for (const auto& finding : document["findings"].GetArray()) {
    std::string line = finding["kind"].GetString() + std::string(":");
    for (const auto& image : finding["images"].GetArray()) line += " " + std::string(image.GetString());
    lines.push_back(line);
  }
  return lines;
}

// The generated flight as drone photographs, through the whole program: the clean
// flight gives nothing, each fault exactly its finding.
TEST(Survey, LawnmowerPhotographsGiveExactlyTheInjectedFinding) {
  struct Case {
    const char* name;
    std::function<void(SurveyImages&)> inject;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"clean", [](SurveyImages&) {}, {}},
      {"null fix",
       [](SurveyImages& images) { images[4].latitude = images[4].longitude = 0.0; },
       {"position-null: flight/DJI_0005.JPG"}},
      {"one fix kilometres away",
       [](SurveyImages& images) { moveBy(images[19], 5000.0, 0.0); },
       {"position-outlier: flight/DJI_0020.JPG"}},
      {"one name in two folders",
       [](SurveyImages& images) { images[6].path = "second/dji_0003.jpg"; },
       {"name-collision: flight/DJI_0003.JPG second/dji_0003.jpg"}},
      {"one frame written twice",
       [](SurveyImages& images) {
         SurveyImage copy = images[7];
         copy.path = "flight/DJI_0100.JPG";
         images.push_back(copy);
       },
       {"duplicate-frame: flight/DJI_0008.JPG flight/DJI_0100.JPG"}},
      {"last line flown after a pause",
       [](SurveyImages& images) {
         for (std::size_t i = 30; i < 40; ++i) images[i].time->seconds += 1800;
       },
       {"mixed-flights: flight/DJI_0001.JPG flight/DJI_0031.JPG"}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    SurveyImages images = lawnmowerImages(LawnmowerPlan{});
    test.inject(images);
    Batch batch;
    batch.folder().makeFolder("images/flight");
    batch.folder().makeFolder("images/second");
    for (const auto& photo : lawnmowerPhotos(images)) batch.add(photo.first, photo.second);
    const ProgramRun run = batch.run(kAllChecks, {"--survey", "survey.json"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(findingsIn(readFileBytes(batch.folder().at("survey.json"))), test.expected);
  }
}

}  // namespace
