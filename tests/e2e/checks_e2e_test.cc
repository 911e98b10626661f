// Whole runs with checks: generated batches through the built program, compared byte
// for byte (standard output, exit code, error.json).
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include "batch_run.h"
#include "common/messages.h"
#include "gbk_text.h"
#include "jpeg_builder.h"

namespace {

namespace fs = std::filesystem;

TEST(Checks, ResolutionWorkedExample) {
  Batch batch;
  PhotoSpec large = surveyPhoto();
  large.pixelWidth = 6000;
  large.pixelHeight = 4000;
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.addPhoto("b.jpg", surveyPhoto());
  batch.addPhoto("c.jpg", large);
  batch.add("d.jpg", kNotAnImage);
  batch.addPhoto("e.jpg", surveyPhoto());
  Switches on;
  on.resolution = true;
  ProgramRun run = batch.run(on);

  const std::string report =
      reportOf({entry(101, messages::kResolutionMismatch, {"d.jpg", "c.jpg"})});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, batch.echo(on) +
                            resolutionStart({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}) +
                            group("error", 1) + block({"d.jpg"}) + group("4000*3000", 3) +
                            group("6000*4000", 1) + block({"c.jpg"}) + line(report));
  EXPECT_EQ(batch.report(), report);
}

TEST(Checks, FocalLengthWorkedExample) {
  Batch batch;
  PhotoSpec a = surveyPhoto();
  PhotoSpec b = surveyPhoto();
  b.focalLength35mm.reset();
  b.focalLength = Fraction{45, 10};
  PhotoSpec c = surveyPhoto();
  c.focalLength35mm.reset();
  c.focalLength.reset();
  batch.addPhoto("a.jpg", a);
  batch.addPhoto("b.jpg", b);
  batch.addPhoto("c.jpg", c);
  batch.add("d.jpg", kNotAnImage);
  Switches on;
  on.focalLength = true;
  ProgramRun run = batch.run(on);

  const std::string report = reportOf({entry(103, messages::kFocalLengthZero, {"c.jpg", "d.jpg"})});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, batch.echo(on) + focalLengthStart({"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) +
                            group("0", 1) + block({"c.jpg"}) + group("24", 1) + group("4", 1) +
                            group("error", 1) + block({"d.jpg"}) + line(report));
  EXPECT_EQ(batch.report(), report);
}

TEST(Checks, GpsWorkedExample) {
  Batch batch;
  PhotoSpec withoutGps = surveyPhoto();
  withoutGps.gps.reset();
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.addPhoto("b.jpg", withoutGps);
  batch.add("c.jpg", kNotAnImage);
  Switches on;
  on.gps = true;
  ProgramRun run = batch.run(on);

  const std::string report = reportOf({entry(104, messages::kNoGps, {"b.jpg", "c.jpg"})});
  EXPECT_EQ(report, "{\"errors\":[{\"errcode\":104,\"error_des\":\"" + std::string(messages::kNoGps) +
                        "\",\"images\":[\"b.jpg\",\"c.jpg\"]}]}");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, batch.echo(on) + gpsStart({"a.jpg", "b.jpg", "c.jpg"}) + group("1", 1) +
                            block({"b.jpg"}) + group("error", 1) + block({"c.jpg"}) + line(report));
  EXPECT_EQ(batch.report(), report);
}

TEST(Checks, CameraMakeOfThreeGroupsNamesEveryImageOutsideTheLargest) {
  Batch batch;
  PhotoSpec canon = surveyPhoto();
  canon.make = "Canon";
  PhotoSpec sony = surveyPhoto();
  sony.make = "SONY";
  batch.addPhoto("1.jpg", canon);
  for (const char* name : {"2.jpg", "3.jpg", "4.jpg"}) batch.addPhoto(name, surveyPhoto());
  batch.addPhoto("5.jpg", sony);
  Switches on;
  on.cameraMake = true;
  ProgramRun run = batch.run(on);

  const std::string report =
      reportOf({entry(102, messages::kCameraMakeMismatch, {"1.jpg", "5.jpg"})});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, batch.echo(on) +
                            cameraMakeStart({"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"}) +
                            group("Canon", 1) + group("DJI", 3) + group("SONY", 1) +
                            block({"1.jpg", "5.jpg"}) + line(report));
  EXPECT_EQ(batch.report(), report);
}

TEST(Checks, AllChecksPassingGiveTheAllClear) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.addPhoto("day2/b.jpg", surveyPhoto());
  RunOptions options;
  options.keepErrors = true;
  ProgramRun run = batch.run(kAllChecks, options);
  const std::vector<std::string> names{"a.jpg", "b.jpg"};
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, batch.echo(kAllChecks) + surveyPassingAllChecks(names, 2));
  EXPECT_FALSE(batch.hasReport());
  EXPECT_EQ(run.errors, "");  // a clean run says nothing there
}

TEST(Checks, TwoFailedChecksGiveOneReportWithTwoEntries) {
  Batch batch;
  PhotoSpec bare = surveyPhoto();
  bare.focalLength.reset();
  bare.focalLength35mm.reset();
  bare.gps.reset();
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.addPhoto("b.jpg", bare);
  ProgramRun run = batch.run(kAllChecks);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(batch.report(), reportOf({entry(103, messages::kFocalLengthZero, {"b.jpg"}),
                                      entry(104, messages::kNoGps, {"b.jpg"})}));
}

TEST(Checks, EmptyInputFolderWithChecksOnGivesTheNoImagesReport) {
  Batch batch;
  ProgramRun run = batch.run(kAllChecks);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, batch.echo(kAllChecks) + resolutionStart({}) + block({}) +
                            cameraMakeStart({}) + block({}) + focalLengthStart({}) +
                            gpsStart({}) + line(kNoImagesReport));
  EXPECT_EQ(batch.report(), kNoImagesReport);
}

TEST(Checks, MissingInputFolderWithChecksOffGivesTheNoImagesReport) {
  Batch batch;
  fs::remove(batch.folder().path() / "images");
  ProgramRun run = batch.run(Switches{});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, batch.echo(Switches{}) + line(messages::kCanNotFoundFile) +
                            line(kNoImagesReport));
}

TEST(Checks, UnreadableEntriesAreCountedButNeverGroupedOrReported) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.add("b.jpg", "");
  std::vector<std::string> names{"a.jpg", "b.jpg"};
#ifndef _WIN32
  // A FIFO and a link to nothing: file kinds that only POSIX file systems give a batch.
  ASSERT_EQ(mkfifo(batch.imagePath("c.pipe").c_str(), 0644), 0);
  std::filesystem::create_symlink("nowhere", batch.imagePath("d.link"));
  names.insert(names.end(), {"c.pipe", "d.link"});
#endif
  batch.addPhoto("e.jpg", surveyPhoto());
  // 2 GiB, sparse: too large to be read in one piece, so it is skipped unread.
  batch.add("f.huge", "");
  fs::resize_file(batch.imagePath("f.huge"), std::uintmax_t{1} << 31);
  names.insert(names.end(), {"e.jpg", "f.huge"});
  Switches on;
  on.resolution = true;
  RunOptions options;
  options.keepErrors = true;
  ProgramRun run = batch.run(on, options);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, batch.echo(on) + resolutionStart(names) + group("4000*3000", 2) +
                            block({}) + kAllClear);
#ifndef _WIN32
  // Standard error says which files were skipped and why.
  EXPECT_EQ(run.errors,
            "precheck: skipped images/b.jpg: it is empty\n"
            "precheck: skipped images/c.pipe: it is not a regular file\n"
            "precheck: skipped images/d.link: it does not exist\n"
            "precheck: skipped images/f.huge: it is 2 GiB or larger\n"
            "precheck: 4 files could not be read\n");
#endif
}

// Each check shows a skipped file's progress line; standard error names it once per run.
TEST(Checks, SkippedFileIsNamedOnceOnStandardErrorWhateverTheChecks) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.add("b.jpg", "");
  RunOptions options;
  options.keepErrors = true;
  ProgramRun run = batch.run(kAllChecks, options);
  const std::vector<std::string> names{"a.jpg", "b.jpg"};
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, batch.echo(kAllChecks) + surveyPassingAllChecks(names, 1));
#ifndef _WIN32
  EXPECT_EQ(run.errors,
            "precheck: skipped images/b.jpg: it is empty\n"
            "precheck: 1 file could not be read\n");
#endif
}

#ifndef _WIN32
// A caller that logs both streams through one pipe reads standard error's lines where
// the run said them: the skip among the progress lines, the count after the last one.
TEST(Checks, StandardErrorKeepsItsPlaceInOneStreamWithTheTranscript) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.add("b.jpg", "");
  batch.addPhoto("c.jpg", surveyPhoto());
  Switches on;
  on.resolution = true;
  batch.folder().writeFile("task.cfg", Batch::configText(on));
  ProgramRun run = runProgram("/bin/sh", {"-c", "exec \"$0\" task.cfg 2>&1", PRECHECK_BINARY},
                              batch.folder().path().string(), {});
  EXPECT_EQ(run.exitCode, 0);
  const std::string all = resolutionStart({"a.jpg", "b.jpg", "c.jpg"});
  const std::string third = line(messages::kResolutionProgress + std::string("3") +
                                 messages::kProgressArrow + "c.jpg");
  const std::size_t split = all.find(third);
  ASSERT_NE(split, std::string::npos);
  EXPECT_EQ(run.output, batch.echo(on) + all.substr(0, split) +
                            "precheck: skipped images/b.jpg: it is empty\n" + third +
                            group("4000*3000", 2) + block({}) +
                            "precheck: 1 file could not be read\n" + kAllClear);
}
#endif

// Makes longer than a record keeps are told apart by their digest and shown whole, read
// again from the file; the table shows their start and length.
TEST(Checks, KeysKeepLongMakesAndHugeFocalLengthsWhole) {
  Batch batch;
  PhotoSpec longMake = surveyPhoto();
  longMake.make = std::string(300, 'M');
  PhotoSpec otherLongMake = surveyPhoto();
  otherLongMake.make = std::string(256, 'M') + std::string(50, 'X');
  PhotoSpec hugeFocal = surveyPhoto();
  hugeFocal.focalLength35mm.reset();
  hugeFocal.focalLength = Fraction{4294967295u, 1};
  batch.addPhoto("a.jpg", longMake);
  batch.addPhoto("b.jpg", hugeFocal);
  batch.addPhoto("c.jpg", longMake);
  batch.addPhoto("d.jpg", otherLongMake);
  Switches on;
  on.cameraMake = true;
  on.focalLength = true;
  const std::vector<std::string> names{"a.jpg", "b.jpg", "c.jpg", "d.jpg"};
  ProgramRun run = batch.run(on, {"--table", "table.csv"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output,
            batch.echo(on) + cameraMakeStart(names) + group("DJI", 1) +
                group(std::string(300, 'M'), 2) + group(*otherLongMake.make, 1) +
                block({"b.jpg", "d.jpg"}) + focalLengthStart(names) + group("24", 3) +
                group("4294967295", 1) +
                line(reportOf({entry(102, messages::kCameraMakeMismatch, {"b.jpg", "d.jpg"})})));
  const std::string table = readFileBytes(batch.folder().at("table.csv"));
  EXPECT_NE(table.find("," + std::string(256, 'M') + " ... (306 bytes),"), std::string::npos)
      << table;
}

TEST(Checks, ReportReplacesAnEarlierOneAndTheAllClearLeavesItInPlace) {
  Batch batch;
  batch.folder().writeFile("check/error.json", "an earlier report, longer than the new one........");
  batch.add("a.jpg", kNotAnImage);
  Switches on;
  on.gps = true;
  batch.run(on);
  const std::string report = reportOf({entry(104, messages::kNoGps, {"a.jpg"})});
  EXPECT_EQ(batch.report(), report);

  batch.addPhoto("a.jpg", surveyPhoto());
  EXPECT_EQ(batch.run(on).exitCode, 0);
  EXPECT_EQ(batch.report(), report);
}

// The output folder inside the input folder: the report of a run with findings, and a
// file named like its temporary files, must not keep the mended batch from passing.
TEST(Checks, OwnReportBelowTheInputFolderIsNotAnImageOfTheNextRun) {
  Batch batch;
  batch.setOutputFolder("./images/check");
  PhotoSpec withoutGps = surveyPhoto();
  withoutGps.gps.reset();
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.addPhoto("b.jpg", withoutGps);
  Switches on;
  on.gps = true;
  EXPECT_EQ(batch.run(on).exitCode, 1);
  const std::string report = reportOf({entry(104, messages::kNoGps, {"b.jpg"})});
  EXPECT_EQ(readFileBytes(batch.imagePath("check/error.json")), report);

  batch.addPhoto("b.jpg", surveyPhoto());
  batch.add("check/error.json.tmp-00000000deadbeef", "");
  ProgramRun run = batch.run(on);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, batch.echo(on) + gpsStart({"a.jpg", "b.jpg"}) + kAllClear);
  EXPECT_EQ(readFileBytes(batch.imagePath("check/error.json")), report);
}

TEST(Checks, UnwritableReportIsEchoedAndSaidInOneLine) {
  Batch batch;
  batch.folder().writeFile("check", "a file where the output folder should be");
  Switches on;
  ProgramRun run = batch.run(on);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, batch.echo(on) + line(kNoImagesReport) +
                            line(messages::kReportNotWritten + std::string("check") +
                                 kPathSeparator + "error.json"));
}

// Chinese file names reach the console and error.json as GBK bytes, as the tools that
// read them on Chinese Windows systems expect.
TEST(Checks, ChineseFileNamesComeOutAsGbkBytes) {
  if (!fileNamesReadAsGbk()) {
    GTEST_SKIP() << "file names are not read as GBK here: under Wine, run with "
                    "LC_ALL=zh_CN.UTF-8 after localedef -i zh_CN -f UTF-8 zh_CN.UTF-8";
  }
  const std::string name = "\xba\xbd\xc5\xc4\xd2\xbb\xba\xc5.jpg";  // 航拍一号.jpg
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.folder().writeFile(fs::path("images") / fileNameFromGbk(name), kNotAnImage);
  Switches on;
  on.gps = true;
  ProgramRun run = batch.run(on);

  const std::string report = reportOf({entry(104, messages::kNoGps, {name})});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, batch.echo(on) + gpsStart({"a.jpg", name}) + group("error", 1) +
                            block({name}) + line(report));
  EXPECT_EQ(batch.report(), report);
}

// A name the ANSI code page cannot spell, and a path longer than MAX_PATH, are read on
// Windows by their UTF-16 paths; the console shows the name as the narrow calls give
// it, "?" for each character the code page lacks. On POSIX names are bytes and such a
// path is short.
TEST(Checks, NamesOutsideTheCodePageAndLongPathsAreRead) {
  if (!fileNamesReadAsGbk()) {
    GTEST_SKIP() << "file names are not read as GBK here: under Wine, run with "
                    "LC_ALL=zh_CN.UTF-8 after localedef -i zh_CN -f UTF-8 zh_CN.UTF-8";
  }
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  // é has a GBK code; the Thai letters of ไทย have none.
  const std::string utf8Name = "b-\xC3\xA9-\xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2.jpg";
  batch.folder().writeFile(fs::path("images") / fs::u8path(utf8Name), makePhoto(surveyPhoto()));
#ifdef _WIN32
  const std::string shownName = "b-\xA8\xA6-???.jpg";
#else
  const std::string shownName = utf8Name;
#endif
  // Made short and then renamed long: the test's own calls may stop at MAX_PATH.
  const std::string deep = std::string(150, 'y') + "/d.jpg";
  batch.addPhoto("c/" + deep, surveyPhoto());
  const std::string longFolder = "c" + std::string(150, 'x');
  fs::rename(batch.imagePath("c"), batch.imagePath(longFolder));
  ASSERT_GT(("images/" + longFolder + "/" + deep).size(), 300u);
  Switches on;
  on.resolution = true;
  ProgramRun run = batch.run(on);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output, batch.echo(on) + resolutionStart({"a.jpg", shownName, "d.jpg"}) +
                            group("4000*3000", 3) + block({}) + kAllClear);
}

// The configuration and the output folder are opened and made by their long form too:
// a configuration path and an output folder longer than MAX_PATH serve on Windows.
TEST(Checks, LongConfigurationPathAndOutputFolderServe) {
  Batch batch;
  PhotoSpec unlocated = surveyPhoto();
  unlocated.gps.reset();
  batch.addPhoto("a.jpg", unlocated);
  const ProgramRun plain = batch.run(kAllChecks);
  const std::string report = batch.report();
  const std::string deep = std::string(150, 'q');
  const std::string outputFolder = "o" + std::string(150, 'x') + kPathSeparator + deep;
  // Made short and then renamed long: the test's own calls may stop at MAX_PATH.
  batch.folder().writeFile("c/" + deep + "/task.cfg", Batch::configText(kAllChecks, outputFolder));
  const std::string longFolder = "c" + std::string(150, 'y');
  fs::rename(batch.folder().path() / "c", batch.folder().path() / longFolder);
  const std::string config = longFolder + kPathSeparator + deep + kPathSeparator + "task.cfg";
  const ProgramRun run = runProgram(PRECHECK_BINARY, {config}, batch.folder().path().string());
  EXPECT_EQ(run.exitCode, 1);
  const std::string echo =
      withConsoleLineEnds(config + "\n" + Batch::configText(kAllChecks, outputFolder));
  ASSERT_EQ(run.output.rfind(echo, 0), 0u) << run.output;
  EXPECT_EQ(run.output.substr(echo.size()), plain.output.substr(batch.echo(kAllChecks).size()));
  fs::rename(batch.folder().path() / ("o" + std::string(150, 'x')), batch.folder().path() / "o");
  EXPECT_EQ(readFileBytes(batch.folder().at("o/" + deep + "/error.json")), report);
}

}  // namespace
