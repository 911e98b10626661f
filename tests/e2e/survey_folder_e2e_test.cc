// A folder as a multispectral drone with RTK leaves it: TIFF bands in both byte orders,
// a DNG, the drone's logs and the caches of the systems the card passed through.
#include <gtest/gtest.h>

#include <algorithm>

#include "batch_run.h"

namespace {

// A MicaSense-like band: 1280 by 960, no EXIF pixel tags, a GPS position.
ExifBlockSpec bandBlock(bool littleEndian) {
  PhotoSpec photo;
  photo.littleEndian = littleEndian;
  photo.make = "MicaSense";
  photo.model = "RedEdge-M";
  photo.focalLength = Fraction{5500, 1000};
  photo.focalLength35mm = 30;
  photo.gps = GpsSpec{47.6, -122.3, 120.5};
  return photoTiff(photo, 1280, 960);
}

// A DNG whose IFD0 is a 256-pixel preview and whose raw image is a SubIFD.
std::string dngFile() {
  ExifBlockSpec block = bandBlock(true);
  block.ifd0[0] = longEntry(0x0100, {256});
  block.ifd0[1] = longEntry(0x0101, {192});
  block.ifd0.insert(block.ifd0.begin(), longEntry(0x00FE, {1}));
  block.ifd0.push_back(pointerEntry(0x014A, Directory::sub));
  block.ifd0.push_back(bytesEntry(0xC612, tiff::kByte, std::string("\1\4\0\0", 4)));
  block.sub = {longEntry(0x00FE, {0}), longEntry(0x0100, {1280}), longEntry(0x0101, {960})};
  return buildTiff(block, 512);
}

const std::string kRinexObservation =
    "     3.03           OBSERVATION DATA    M                   RINEX VERSION / TYPE\n"
    "DJI                                     20240501 100000 UTC PGM / RUN BY / DATE\n";
const std::string kTimestamps =
    "1\t196977.527612\t[2139]\t    -6,N\t    18,E\t    16,V\t47.60000000,Lat\t"
    "-122.30000000,Lon\t120.500,Ellh\t0.007, 0.006, 0.016\t50,Q\n";

void addSurveyFolder(const Batch& batch) {
  batch.add(".DS_Store", std::string("\0\0\0\1Bud1\0\0\x10\0", 12) + std::string(64, '\0'));
  batch.add("._band_1.tif", std::string("\0\x05\x16\x07\0\x02\0\0", 8) + std::string(64, '\0'));
  batch.add("band_1.tif", buildTiff(bandBlock(true), 512));
  batch.add("band_2.tif", buildTiff(bandBlock(false), 512));
  batch.add("flight_Rinex.obs", kRinexObservation);
  batch.add("flight_Timestamp.MRK", kTimestamps);
  batch.add("raw.dng", dngFile());
  batch.add("win/Thumbs.db",
            std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(64, '\0'));
}

const std::string kThumbs = std::string("win") + kPathSeparator + "Thumbs.db";

std::string band(const std::string& name) {
  return name + ",ok,,1280,960,MicaSense,RedEdge-M,,5.5,30,47.6,-122.3,120.5,,1280,960,,,,,"
                "position-repeated\r\n";
}
std::string sidecar(const std::string& name, const std::string& kind) {
  return name + ",not an image: " + kind + ",,,,,,,,,,,,101 102 103 104,,,,,,,\r\n";
}

TEST(SurveyFolder, ImagesAreReadAndSidecarsNamedForWhatTheyAre) {
  Batch batch;
  addSurveyFolder(batch);
  RunOptions keepErrors;
  keepErrors.keepErrors = true;
  const ProgramRun run = batch.run(kAllChecks, {"--table", "images.csv"}, keepErrors);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(readFileBytes(batch.folder().at("images.csv")),
            "file,status,reason,width,height,make,model,capture_time,focal_length_mm,"
            "focal_length_35mm,latitude,longitude,altitude_m,codes,frame_width,frame_height,"
            "height_above_takeoff_m,gimbal_pitch_deg,flight,overlap_previous,survey\r\n" +
                sidecar(".DS_Store", "Finder folder settings") +
                sidecar("._band_1.tif", "AppleDouble resource fork") + band("band_1.tif") +
                band("band_2.tif") + sidecar("flight_Rinex.obs", "RINEX observation file") +
                sidecar("flight_Timestamp.MRK", "DJI timestamp file") + band("raw.dng") +
                sidecar(kThumbs, "thumbnail cache"));
  // The images pass every check; the sidecars fail them all, as every file did before.
  const std::string report = batch.report();
  for (const char* name : {".DS_Store", "._band_1.tif", "flight_Rinex.obs",
                           "flight_Timestamp.MRK", "Thumbs.db"}) {
    EXPECT_NE(report.find(std::string("\"") + name + "\""), std::string::npos) << name;
  }
  for (const char* image : {"band_1.tif", "band_2.tif", "raw.dng"}) {
    EXPECT_EQ(report.find(std::string("\"") + image + "\""), std::string::npos) << image;
  }
  EXPECT_NE(run.errors.find(withConsoleLineEnds(
                "precheck: 5 files below the input folder are not images: .DS_Store (Finder "
                "folder settings), ._band_1.tif (AppleDouble resource fork), flight_Rinex.obs "
                "(RINEX observation file), flight_Timestamp.MRK (DJI timestamp file), " +
                kThumbs + " (thumbnail cache)\n")),
            std::string::npos)
      << run.errors;
}

// Left out on purpose, the sidecars are as if they were not there: the batch passes and
// nothing is said about them.
TEST(SurveyFolder, IgnoredSidecarsLeaveABatchThatPasses) {
  Batch batch;
  addSurveyFolder(batch);
  RunOptions keepErrors;
  keepErrors.keepErrors = true;
  const ProgramRun run =
      batch.run(kAllChecks,
                {"--ignore", "**/*.MRK", "--ignore=*.obs", "--ignore", "**/._*", "--ignore",
                 ".DS_Store", "--ignore", "win/*.db"},
                keepErrors);
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_EQ(run.output.rfind(kAllClear), run.output.size() - kAllClear.size());
  EXPECT_NE(run.output.find(line(std::string(messages::kNumberOfImages) + "3")),
            std::string::npos);
  EXPECT_EQ(run.errors, "");
}

// On a terminal the run ends with the options that would leave the sidecars out, each
// pattern once (day2 lists before the top folder's logs), in double quotes that no
// shell expands.
TEST(SurveyFolder, TerminalSuggestsTheIgnoreOptions) {
  Batch batch;
  addSurveyFolder(batch);
  batch.add("day2/flight_Timestamp.MRK", kTimestamps);
  RunOptions terminal;
  terminal.terminal = true;
  terminal.environment = {{"LC_ALL", "C.UTF-8"}};
  const ProgramRun run = batch.run(kAllChecks, terminal);
  // A pseudo console may break a long line where its window ends.
  std::string shown = run.output;
  shown.erase(std::remove_if(shown.begin(), shown.end(),
                             [](char c) { return c == '\r' || c == '\n'; }),
              shown.end());
  EXPECT_NE(shown.find("files that are not images stay in the run; to leave them out: "
                            "--ignore \"**/.DS_Store\" --ignore \"**/._*\" --ignore "
                            "\"**/*.MRK\" --ignore \"**/*.obs\" --ignore \"**/*.db\""),
            std::string::npos)
      << run.output;
}

}  // namespace
