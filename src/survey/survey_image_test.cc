#include "survey/survey_image.h"

#include <gtest/gtest.h>

namespace {

ImageRecord parsedRecord() {
  ImageRecord record;
  record.status = ExifStatus::ok;
  record.pixelWidth = 4000;
  record.pixelHeight = 3000;
  return record;
}

// The record as a run that keeps the details leaves it.
void keepValues(ImageRecord& record, const SurveyValues& values) {
  record.details = std::make_shared<const ImageDetails>(ImageDetails{"", "", values});
}

TEST(SurveyImage, PositionFromTheRecord) {
  struct Case {
    bool hasPosition;
    bool undefined;
    double latitude, longitude;
    bool positioned;
  };
  const Case cases[] = {
      {true, false, 30.5, 114.3, true},
      {true, false, 0.0, 0.0, true},  // a null fix, which the survey names
      {false, false, 0.0, 0.0, false},
      {false, false, 30.5, 114.3, true},
      {true, true, 0.0, 10.0, false},  // a zero denominator
      {true, false, 91.0, 10.0, false},
      {true, false, 10.0, -181.0, false},
  };
  for (const Case& test : cases) {
    ImageRecord record = parsedRecord();
    SurveyValues values;
    values.hasPosition = test.hasPosition;
    keepValues(record, values);
    record.positionUndefined = test.undefined;
    record.latitude = test.latitude;
    record.longitude = test.longitude;
    const SurveyImage image = surveyImageOf(record);
    EXPECT_TRUE(image.parsed);
    EXPECT_EQ(image.latitude.has_value(), test.positioned) << test.latitude;
    EXPECT_EQ(image.longitude.has_value(), test.positioned) << test.latitude;
  }
  ImageRecord unread;
  unread.skipped = SkipReason::empty;
  EXPECT_FALSE(surveyImageOf(unread).parsed);
}

TEST(SurveyImage, TimeFlightValuesAndSensorSize) {
  ImageRecord record = parsedRecord();
  SurveyValues values;
  values.captureTime = CaptureTime{1714557609, 250000000, true};
  values.exposureTime = 0.001;
  values.xmp.relativeAltitude = 60.5f;
  values.xmp.gimbalPitch = -89.9f;
  values.xmp.gimbalYaw = 12.0f;
  values.xmp.flightYaw = 11.0f;
  values.xmp.flightXSpeed = 3.0f;
  values.xmp.flightYSpeed = -4.0f;
  values.xmp.captureId = "abc";
  values.xmp.bandName = "NIR";
  // 4000 pixels over 13.2 mm and 3000 over 8.8 mm, in pixels per cm.
  values.focalPlaneXResolution = 4000.0f / 1.32f;
  values.focalPlaneYResolution = 3000.0f / 0.88f;
  values.focalPlaneResolutionUnit = 3;
  keepValues(record, values);
  const SurveyImage image = surveyImageOf(record);
  ASSERT_TRUE(image.time);
  EXPECT_EQ(image.time->seconds, 1714557609);
  EXPECT_EQ(image.time->fraction, 0.25);
  EXPECT_EQ(image.exposure, 0.001);
  EXPECT_EQ(image.relativeAltitude, 60.5);
  EXPECT_NEAR(*image.gimbalPitch, -89.9, 1e-5);
  EXPECT_EQ(image.flightYaw, 11.0);
  EXPECT_EQ(image.speed, 5.0);  // horizontal: east and north
  EXPECT_NEAR(*image.sensorWidth, 13.2, 1e-4);
  EXPECT_NEAR(*image.sensorHeight, 8.8, 1e-4);
  EXPECT_EQ(image.captureId, "abc");
  EXPECT_EQ(image.bandName, "NIR");

  // Units other than inch, cm, mm and um give no sensor size; one speed is no speed.
  values.focalPlaneResolutionUnit = 1;
  values.xmp.flightYSpeed.reset();
  values.captureTime->hasSubSeconds = false;
  keepValues(record, values);
  const SurveyImage partial = surveyImageOf(record);
  EXPECT_FALSE(partial.sensorWidth);
  EXPECT_FALSE(partial.speed);
  EXPECT_FALSE(partial.time->fraction);
}

}  // namespace
