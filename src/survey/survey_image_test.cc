#include "survey/survey_image.h"

#include <gtest/gtest.h>

namespace {

TEST(SurveyImage, CaptureTimes) {
  struct Case {
    const char* text;
    const char* subSeconds;
    std::optional<std::int64_t> seconds;
    std::optional<double> fraction;
  };
  const Case cases[] = {
      {"1970:01:01 00:00:00", "", 0, std::nullopt},
      {"2024:05:01 10:00:09", "", 1714557609, std::nullopt},
      {"2024-02-29T23:59:59", "", 1709251199, std::nullopt},
      {"2000:03:01 00:00:00", "25", 951868800, 0.25},
      {"2024:05:01 10:00:09", "5 ", 1714557609, 0.5},
      {"2024:05:01 10:00:09", "x", 1714557609, std::nullopt},
      // What cameras without a clock write, and what is no time at all.
      {"0000:00:00 00:00:00", "", std::nullopt, std::nullopt},
      {"    :  :     :  :  ", "", std::nullopt, std::nullopt},
      {"2024:13:01 10:00:00", "", std::nullopt, std::nullopt},
      {"2024:05:01 10:00", "", std::nullopt, std::nullopt},
      {"2024/05/01 10:00:00", "", std::nullopt, std::nullopt},
  };
  for (const Case& test : cases) {
    const std::optional<CaptureTime> time = parseCaptureTime(test.text, test.subSeconds);
    ASSERT_EQ(time.has_value(), test.seconds.has_value()) << test.text;
    if (!time) continue;
    EXPECT_EQ(time->seconds, *test.seconds) << test.text;
    EXPECT_EQ(time->fraction, test.fraction) << test.text;
  }
  EXPECT_EQ(parseCaptureTime("2024:05:01 10:00:09")->text, "2024-05-01T10:00:09");
}

TEST(SurveyImage, PositionFromTheRecord) {
  struct Case {
    double latitude, longitude, altitude;
    bool positioned;
  };
  const Case cases[] = {
      {30.5, 114.3, 152.0, true},
      {0.0, 0.0, 0.0, false},   // no GPS tags at all
      {0.0, 0.0, 120.0, true},  // a fix written without a position: a null fix
      {91.0, 10.0, 5.0, false},
      {10.0, -181.0, 5.0, false},
  };
  for (const Case& test : cases) {
    ImageRecord record;
    record.status = ExifStatus::ok;
    record.latitude = test.latitude;
    record.longitude = test.longitude;
    record.altitude = test.altitude;
    const SurveyImage image = surveyImageOf(record);
    EXPECT_TRUE(image.parsed);
    EXPECT_EQ(image.latitude.has_value(), test.positioned) << test.latitude;
    EXPECT_EQ(image.longitude.has_value(), test.positioned) << test.latitude;
  }
  ImageRecord unread;
  unread.skipped = SkipReason::empty;
  EXPECT_FALSE(surveyImageOf(unread).parsed);
}

}  // namespace
