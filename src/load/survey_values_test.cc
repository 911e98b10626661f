// The values a survey of the batch reads, through the whole load of the real
// photographs in tests/corpus. Expected values as exiftool -n prints them.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "jpeg_builder.h"
#include "load/load_image.h"
#include "memory_image_files.h"
#include "temp_folder.h"

namespace {

// The model as the table shows it: the record keeps it with the details.
std::string modelOf(const ImageRecord& record) {
  if (record.details == nullptr) return "(no details)";
  const std::string& model = record.details->model;
  return model.substr(0, model.find('\0'));
}

struct Expected {
  const char* file;
  const char* captureTime;  // isoText, or nullptr when absent
  double subSeconds;        // < 0: none
  std::optional<double> exposureTime;
  const char* model;
  std::optional<double> focalPlaneX;
  std::optional<double> focalPlaneY;
  std::uint16_t focalPlaneUnit;
  std::optional<double> gpsAltitude;
};

const Expected kPhotos[] = {
    {"Apple_iPhone_4.jpg", "2011-01-13T14:33:39", -1, 0.06666666667, "iPhone 4", {}, {}, 0, {}},
    // SubSecTimeOriginal "46"; focal plane resolution in inches.
    {"Canon_EOS_REBEL_T3i.jpg", "2014-03-05T05:28:09", 0.46, 0.005, "Canon EOS REBEL T3i",
     5728.176796, 5808.403361, 2, {}},
    // Its capture time lies only in the maker's own notes, which are not read; the GPS
    // altitude is 0 and is there.
    {"FLIR_Vue_Pro_640.jpg", nullptr, -1, {}, "", {}, {}, 0, 0.0},
    {"FujiFilm_FinePixS1Pro_(1).jpg", "2002-07-13T15:58:28", -1, {}, "FinePixS1Pro",
     12.05078125, 12.05078125, 2, {}},
    {"Nikon_D5000.jpg", "2011-03-12T15:36:11", -1, 0.005, "NIKON D5000", {}, {}, 0, 324.145},
    {"Ricoh_DC-3Z_(low_res).jpg", "1997-02-02T00:50:30", -1, {}, "DC-3Z          ", {}, {}, 0,
     {}},
    {"Samsung_GT-I9000_(Galaxy_S).jpg", "2011-04-02T18:30:10", -1, 0.07433217189, "GT-I9000", {},
     {}, 0, 0.0},
    {"Sony_D700.jpg", "1998-12-01T14:22:36", -1, {}, "DSC-D700", {}, {}, 0, {}},
    // DateTimeOriginal, not the later ModifyDate of the re-saved copy.
    {"DJI_0020.JPG", "2016-06-23T16:32:13", -1, 0.003145, "FC300S", {}, {}, 0, 198.609},
    {"DJI_0025.JPG", "2016-06-23T16:32:50", -1, 0.002285, "FC300S", {}, {}, 0, 198.509},
};

ImageRecord loadCorpusPhoto(const char* file, MemoryImageFiles& files) {
  files.add(file, MemoryFile{readFileBytes(std::string(PRECHECK_CORPUS_DIR "/") + file)});
  return loadImage(files, file, {}, true);
}

void expectNear(const std::optional<double>& actual, const std::optional<double>& expected,
                double tolerance) {
  ASSERT_EQ(actual.has_value(), expected.has_value());
  if (expected) {
    EXPECT_NEAR(*actual, *expected, tolerance);
  }
}

TEST(SurveyValues, CorpusPhotographsGiveTheirExifValues) {
  for (const Expected& photo : kPhotos) {
    SCOPED_TRACE(photo.file);
    MemoryImageFiles files;
    const ImageRecord record = loadCorpusPhoto(photo.file, files);
    ASSERT_TRUE(record.parsed());
    ASSERT_EQ(record.surveyValues().captureTime.has_value(), photo.captureTime != nullptr);
    if (photo.captureTime != nullptr) {
      EXPECT_EQ(isoText(*record.surveyValues().captureTime), photo.captureTime);
      EXPECT_EQ(record.surveyValues().captureTime->hasSubSeconds, photo.subSeconds >= 0);
      if (photo.subSeconds >= 0) {
        EXPECT_NEAR(record.surveyValues().captureTime->nanoseconds * 1e-9, photo.subSeconds, 1e-9);
      }
    }
    expectNear(record.surveyValues().exposureTime, photo.exposureTime, 1e-9);
    EXPECT_EQ(modelOf(record), photo.model);
    const auto widened = [](std::optional<float> value) -> std::optional<double> {
      if (!value) return std::nullopt;
      return double{*value};
    };
    expectNear(widened(record.surveyValues().focalPlaneXResolution), photo.focalPlaneX, 1e-3);
    expectNear(widened(record.surveyValues().focalPlaneYResolution), photo.focalPlaneY, 1e-3);
    EXPECT_EQ(record.surveyValues().focalPlaneResolutionUnit, photo.focalPlaneUnit);
    expectNear(record.surveyValues().gpsAltitude, photo.gpsAltitude, 1e-9);
    // The Nikon and FujiFilm photographs carry XMP packets of editing tools, with
    // none of the drone values.
    if (std::string(photo.file).rfind("DJI", 0) != 0) {
      EXPECT_FALSE(record.surveyValues().xmp.any());
    }
  }
}

// The two DJI photographs carry the flight in their XMP packet, as attributes of
// rdf:Description, in a segment past the first read of the file; the same walk that
// finds the frame reads it, so the packet costs no read of its own.
TEST(SurveyValues, DjiPhotographsGiveTheirXmpValues) {
  struct Flight {
    const char* file;
    float relative, absolute, gimbalPitch, gimbalYaw, gimbalRoll;
    float flightYaw, flightPitch, flightRoll;
  };
  const Flight kFlights[] = {
      {"DJI_0020.JPG", 40.10f, 198.61f, -89.90f, 44.20f, 0.0f, 42.80f, 0.90f, 1.10f},
      {"DJI_0025.JPG", 40.00f, 198.51f, -89.90f, -132.00f, 0.0f, -129.90f, -1.60f, 0.90f},
  };
  for (const Flight& flight : kFlights) {
    SCOPED_TRACE(flight.file);
    MemoryImageFiles files;
    const ImageRecord record = loadCorpusPhoto(flight.file, files);
    ASSERT_TRUE(record.parsed());
    EXPECT_TRUE(record.surveyValues().hasPosition);
    const XmpValues& xmp = record.surveyValues().xmp;
    const std::pair<std::optional<float>, float> values[] = {
        {xmp.relativeAltitude, flight.relative}, {xmp.absoluteAltitude, flight.absolute},
        {xmp.gimbalPitch, flight.gimbalPitch},   {xmp.gimbalYaw, flight.gimbalYaw},
        {xmp.gimbalRoll, flight.gimbalRoll},     {xmp.flightYaw, flight.flightYaw},
        {xmp.flightPitch, flight.flightPitch},   {xmp.flightRoll, flight.flightRoll},
    };
    for (const auto& [actual, expected] : values) {
      ASSERT_TRUE(actual.has_value()) << expected;
      EXPECT_FLOAT_EQ(*actual, expected);
    }
    // This camera writes neither speeds, nor RTK, nor a capture id or band.
    EXPECT_FALSE(xmp.flightXSpeed || xmp.rtkFlag);
    EXPECT_TRUE(xmp.captureId.empty() && xmp.bandName.empty());

    // The same file with its XMP header spoilt is read in as many reads.
    std::string spoilt = readFileBytes(std::string(PRECHECK_CORPUS_DIR "/") + flight.file);
    const std::size_t header = spoilt.find("http://ns.adobe.com/xap/1.0/");
    ASSERT_NE(header, std::string::npos);
    spoilt[header] = 'H';
    MemoryImageFiles without;
    without.add("spoilt.jpg", MemoryFile{spoilt});
    const ImageRecord plain = loadImage(without, "spoilt.jpg", {}, true);
    EXPECT_FALSE(plain.surveyValues().xmp.any());
    EXPECT_EQ(files.reads.load(), without.reads.load());
  }
}

// Built photographs: presence as the file states it, and the packet read wherever its
// segment lies.
TEST(SurveyValues, BuiltPhotographsGiveWhatTheyCarry) {
  const std::string packet =
      djiXmpPacket({{"RelativeAltitude", "+80.0"}, {"CaptureUUID", std::string(100, 'c')}});
  PhotoSpec noGps = droneFrame(30.5);
  noGps.gps.reset();
  PhotoSpec belowSea = droneFrame(30.5);
  belowSea.gps->altitude = -12.5;
  // A model of 20,000 bytes puts the packet well past the first read of the file.
  PhotoSpec farPacket = droneFrame(30.5);
  farPacket.model = std::string(20000, 'M');
  farPacket.xmp = packet;
  farPacket.dateTimeOriginal = "2024:05:01 10:00:00";
  farPacket.subSecTimeOriginal = "25";
  farPacket.exposureTime = Fraction{1, 800};
  PhotoSpec nearPacket = droneFrame(30.5);
  nearPacket.xmp = packet;

  struct Case {
    const char* name;
    PhotoSpec photo;
    bool hasPosition;
    std::optional<double> gpsAltitude;
    std::string model;
    bool packetRead;
  };
  const Case cases[] = {
      {"no GPS", noGps, false, {}, "FC6310", false},
      {"below sea level", belowSea, true, -12.5, "FC6310", false},
      {"packet in the first read", nearPacket, true, 152.3, "FC6310", true},
      // The reader keeps a text tag to its first 1,024 bytes.
      {"packet far in", farPacket, true, 152.3, std::string(1024, 'M'), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryImageFiles files;
    files.add("a.jpg", MemoryFile{makePhoto(c.photo)});
    const ImageRecord record = loadImage(files, "a.jpg", {}, true);
    ASSERT_TRUE(record.parsed());
    EXPECT_EQ(record.surveyValues().hasPosition, c.hasPosition);
    expectNear(record.surveyValues().gpsAltitude, c.gpsAltitude, 1e-9);
    EXPECT_EQ(modelOf(record), c.model);
    EXPECT_EQ(record.surveyValues().captureTime.has_value(), c.photo.dateTimeOriginal.has_value());
    if (c.photo.subSecTimeOriginal) {
      EXPECT_EQ(record.surveyValues().captureTime->nanoseconds, 250000000u);
    }
    EXPECT_EQ(record.surveyValues().exposureTime.has_value(), c.photo.exposureTime.has_value());
    if (c.photo.exposureTime) {
      EXPECT_DOUBLE_EQ(*record.surveyValues().exposureTime, 1.0 / 800);
    }
    ASSERT_EQ(record.surveyValues().xmp.relativeAltitude.has_value(), c.packetRead);
    if (c.packetRead) {
      EXPECT_EQ(*record.surveyValues().xmp.relativeAltitude, 80.0f);
      EXPECT_EQ(record.surveyValues().xmp.captureId, std::string(kCaptureIdBytesKept, 'c'));
    }
  }
}

}  // namespace
