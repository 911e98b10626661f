// --table and --geojson: what was read of every image, and where the located ones are.
// The transcript and error.json stay what they are without them.
#include <gtest/gtest.h>

#include "batch_run.h"
#include "gbk_text.h"

namespace {

// One image of every kind: a located frame with its capture time and frame header, one
// without a position whose frame is smaller than its tags say, an empty file, a text
// file, another camera in a subfolder, and one with only DateTime and a focal length of 0.
void addEveryKind(const Batch& batch) {
  PhotoSpec frame = surveyPhoto();
  frame.dateTimeOriginal = "2024:05:01 10:00:00";
  frame.dateTime = "2024:05:01 10:00:09";
  frame.frame = {{4000, 3000}};
  PhotoSpec unlocated = surveyPhoto();
  unlocated.gps.reset();
  unlocated.frame = {{2000, 1500}};
  PhotoSpec other = surveyPhoto();
  other.make = "Canon";
  other.model = "EOS \"R5\", v2";
  other.gps = GpsSpec{-33.8688, -151.2093, -2.5};
  other.focalLength35mm.reset();
  other.focalLength = Fraction{35, 1};
  PhotoSpec zeroFocal = surveyPhoto();
  zeroFocal.dateTime = "2024-05-01T10:00";
  zeroFocal.focalLength35mm.reset();
  zeroFocal.focalLength = Fraction{0, 1};
  batch.addPhoto("a.jpg", frame);
  batch.addPhoto("b.jpg", unlocated);
  batch.add("c.jpg", "");
  batch.add("d.jpg", kNotAnImage);
  batch.addPhoto("sub/e.jpg", other);
  batch.addPhoto("f.jpg", zeroFocal);
}

const std::string kSub = std::string("sub") + kPathSeparator;

const std::string kEveryKindTable =
    "file,status,reason,width,height,make,model,capture_time,focal_length_mm,"
    "focal_length_35mm,latitude,longitude,altitude_m,codes,frame_width,frame_height,"
    "height_above_takeoff_m,gimbal_pitch_deg,flight,overlap_previous,survey\r\n"
    "a.jpg,ok,,4000,3000,DJI,FC6310,2024-05-01 10:00:00,8.8,24,30.5,114.3608,152.3,,4000,3000,,,1,,\r\n"
    "b.jpg,ok,,4000,3000,DJI,FC6310,,8.8,24,,,,104,2000,1500,,,,,size-mismatch\r\n"
    "c.jpg,not read,it is empty,,,,,,,,,,,,,,,,,,\r\n"
    "d.jpg,not an image: text file,,,,,,,,,,,,101 102 103 104,,,,,,,\r\n"
    "f.jpg,ok,,4000,3000,DJI,FC6310,2024-05-01T10:00,0,,30.5,114.3608,152.3,103,,,,,,,\r\n" +
    kSub + "e.jpg,ok,,4000,3000,Canon,\"EOS \"\"R5\"\", v2\",,35,,-33.8688,-151.2093,-2.5,102,,,,,,,position-outlier\r\n";

std::string feature(const std::string& file, const std::string& coordinates,
                    const std::string& make, const std::string& focal, const std::string& focal35,
                    const std::string& codes, const std::string& flight = "null",
                    const std::string& kinds = "") {
  return "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[" + coordinates +
         "]},\"properties\":{\"file\":\"" + file + "\",\"make\":\"" + make +
         "\",\"focal_length_mm\":" + focal + ",\"focal_length_35mm\":" + focal35 + ",\"codes\":[" +
         codes + "],\"height_above_takeoff_m\":null,\"gimbal_pitch_deg\":null,\"flight\":" + flight +
         ",\"overlap_previous\":null,\"survey\":[" + kinds + "]}}";
}

const std::string kEveryKindMap =
    "{\"type\":\"FeatureCollection\",\"features\":[" +
    feature("a.jpg", "114.3608,30.5,152.3", "DJI", "8.8", "24", "", "1") + "," +
    feature("f.jpg", "114.3608,30.5,152.3", "DJI", "0", "null", "103") + "," +
    feature(kSub == "sub/" ? "sub/e.jpg" : "sub\\\\e.jpg", "-151.2093,-33.8688,-2.5", "Canon", "35",
            "null", "102", "null", "\"position-outlier\"") +
    "]}\n";

TEST(Table, EveryImageWithWhatWasReadOfItAndTheCodesThatNamedIt) {
  Batch batch;
  addEveryKind(batch);
  const ProgramRun plain = batch.run(kAllChecks);
  const std::string report = batch.report();
  const ProgramRun run = batch.run(kAllChecks, {"--table", "images.csv", "--geojson=map.geojson"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, plain.output);
  EXPECT_EQ(batch.report(), report);
  EXPECT_EQ(readFileBytes(batch.folder().at("images.csv")), kEveryKindTable);
  EXPECT_EQ(readFileBytes(batch.folder().at("map.geojson")), kEveryKindMap);
}

// The table reads every image itself when no check runs.
TEST(Table, IsWrittenWithEveryCheckOff) {
  Batch batch;
  addEveryKind(batch);
  const ProgramRun run = batch.run(Switches{}, {"--table", "images.csv"});
  EXPECT_EQ(run.exitCode, 0);
  std::string expected = kEveryKindTable;
  for (const char* codes : {"104", "101 102 103 104", "103", "102"}) {
    const std::size_t at = expected.find(std::string(",") + codes + ",");
    expected.erase(at + 1, std::string(codes).size());
  }
  EXPECT_EQ(readFileBytes(batch.folder().at("images.csv")), expected);
}

TEST(Table, FileThatCannotBeWrittenIsSaidAndFailsTheRun) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  const ProgramRun plain = batch.run(kAllChecks);
  ASSERT_EQ(plain.exitCode, 0);
  RunOptions options;
  options.keepErrors = true;
  const std::string missing = std::string("no-such-folder") + kPathSeparator;
  const ProgramRun run =
      batch.run(kAllChecks,
                {"--table", missing + "images.csv", "--geojson", missing + "map.geojson"}, options);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, plain.output);
  EXPECT_EQ(run.errors,
            withConsoleLineEnds("precheck: the table could not be written to " + missing +
                                "images.csv\n" + "precheck: the map could not be written to " +
                                missing + "map.geojson\n"));
}

// Names and makes come into both files as UTF-8, read as the system gives them: here
// GBK, as on a Chinese Windows.
TEST(Table, NamesAndMakesAreConvertedToUtf8) {
  RunOptions options;
#ifdef _WIN32
  if (!fileNamesReadAsGbk()) GTEST_SKIP() << "file names are not read as GBK here";
#else
  if (!systemHasLocale("zh_CN.GBK")) GTEST_SKIP() << "no zh_CN.GBK locale here";
  options.environment = {{"LC_ALL", "zh_CN.GBK"}};
#endif
  Batch batch;
  PhotoSpec photo = surveyPhoto();
  photo.make = "\xb4\xf3\xbd\xae";  // 大疆
  batch.folder().writeFile(
      std::filesystem::path("images") / fileNameFromGbk("\xba\xbd\xc5\xc4.jpg"), makePhoto(photo));
  batch.run(kAllChecks, {"--table", "images.csv", "--geojson", "map.geojson"}, options);
  const std::string table = readFileBytes(batch.folder().at("images.csv"));
  EXPECT_NE(table.find("\r\n航拍.jpg,ok,,4000,3000,大疆,"), std::string::npos) << table;
  const std::string map = readFileBytes(batch.folder().at("map.geojson"));
  EXPECT_NE(map.find("\"file\":\"航拍.jpg\",\"make\":\"大疆\""), std::string::npos) << map;
}

// Names in no encoding of the system stay apart in both files: GBK shown as its
// characters, other bytes escaped.
TEST(Table, NamesNotInTheSystemsEncodingStayDistinct) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows lists names in its ANSI code page";
#else
  // The classic locale says nothing of names: they are read as UTF-8 under it too.
  for (const char* locale : {"C.UTF-8", "C"}) {
    SCOPED_TRACE(locale);
    RunOptions options;
    options.environment = {{"LC_ALL", locale}};
    Batch batch;
    for (const char* name :
         {"\xba\xbd\xc5\xc4.jpg", "\xba\xbd\xc5\xc5.jpg", "\xff.jpg", "\xfe.jpg", "\xe8\x88\xaa.jpg"}) {
      batch.addPhoto(name, surveyPhoto());
    }
    batch.run(kAllChecks, {"--table", "images.csv", "--geojson", "map.geojson"}, options);
    const std::string table = readFileBytes(batch.folder().at("images.csv"));
    const std::string map = readFileBytes(batch.folder().at("map.geojson"));
    for (const std::string shown : {"航拍.jpg", "航排.jpg", "\\xFF.jpg", "\\xFE.jpg", "航.jpg"}) {
      EXPECT_NE(table.find("\r\n" + shown + ",ok,"), std::string::npos) << shown << "\n" << table;
      const std::string inJson = shown[0] == '\\' ? "\\" + shown : shown;
      EXPECT_NE(map.find("\"file\":\"" + inJson + "\""), std::string::npos) << inJson << "\n"
                                                                              << map;
    }
  }
#endif
}

// A name or a make that a spreadsheet would take for a formula is shown as text.
TEST(Table, CellsThatWouldBeFormulasAreText) {
  Batch batch;
  PhotoSpec photo = surveyPhoto();
  photo.make = "@SUM(1+1)";
  batch.addPhoto("=1+2.jpg", photo);
  batch.run(kAllChecks, {"--table", "images.csv"});
  const std::string table = readFileBytes(batch.folder().at("images.csv"));
  EXPECT_NE(table.find("\r\n'=1+2.jpg,ok,,4000,3000,'@SUM(1+1),FC6310,"), std::string::npos)
      << table;
}

}  // namespace

namespace {

// Files asked for where they would destroy an input, or another output of the run: the
// run is refused before it does any work, and every file stays as it was.
TEST(AskedFiles, PathsThatWouldDestroyAnInputAreRefusedBeforeAnyWork) {
  const std::string image = std::string("images") + kPathSeparator + "a.jpg";
  const std::string report = std::string("check") + kPathSeparator + "error.json";
  struct Case {
    std::vector<std::string> words;
    std::string refusal;
  };
  const Case cases[] = {
      {{"--table", "task.cfg"},
       "--table task.cfg: that is the configuration file; write the table elsewhere"},
      {{"--geojson", image},
       "--geojson " + image +
           ": that is a file below the input folder, an image of the batch; write the map "
           "elsewhere"},
      {{"--table", report},
       "--table " + report + ": that is the report of this run, error.json; write the table "
                             "elsewhere"},
      {{"--table", "out.csv", "--geojson=out.csv"},
       "--geojson out.csv: that is also the file of --table; write the map elsewhere"},
      {{"--table", "images"}, "--table images: that is a folder; write the table elsewhere"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.refusal);
    Batch batch;
    batch.addPhoto("a.jpg", surveyPhoto());
    const std::string photo = readFileBytes(batch.imagePath("a.jpg"));
    RunOptions options;
    options.keepErrors = true;
    const ProgramRun run = batch.run(kAllChecks, c.words, options);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.output, batch.echo(kAllChecks));
    EXPECT_EQ(run.errors, withConsoleLineEnds("precheck: " + c.refusal + "\n"));
    EXPECT_FALSE(std::filesystem::exists(batch.folder().path() / "check"));
    EXPECT_EQ(readFileBytes(batch.imagePath("a.jpg")), photo);
    EXPECT_EQ(readFileBytes(batch.folder().at("task.cfg")), Batch::configText(kAllChecks));
    EXPECT_FALSE(std::filesystem::exists(batch.folder().path() / "out.csv"));
  }
}

// A table inside the input folder is no image of the runs that ask for it: the same
// command passes twice, and replaces the table it wrote.
TEST(AskedFiles, TableBelowTheInputFolderIsNotAnImageOfTheRun) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  const ProgramRun plain = batch.run(kAllChecks);
  const std::string table = std::string("images") + kPathSeparator + "table.csv";
  for (int round = 0; round < 2; ++round) {
    const ProgramRun run = batch.run(kAllChecks, {"--table", table});
    EXPECT_EQ(run.exitCode, 0) << round;
    EXPECT_EQ(run.output, plain.output) << round;
  }
  const std::string written = readFileBytes(batch.folder().at("images/table.csv"));
  EXPECT_EQ(written.rfind("file,status,reason,", 0), 0u);
  EXPECT_EQ(written.find("table.csv"), std::string::npos) << written;
}

// "-" writes the table to standard output, after the whole transcript.
TEST(AskedFiles, DashWritesToStandardOutputAfterTheTranscript) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  const ProgramRun plain = batch.run(kAllChecks);
  const ProgramRun run = batch.run(kAllChecks, {"--table", "-"});
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_EQ(run.output.rfind(plain.output, 0), 0u);
  EXPECT_EQ(run.output.substr(plain.output.size()).rfind("file,status,reason,", 0), 0u);
}

}  // namespace
