// --report: the page of a batch of real photographs and a generated survey with faults,
// written beside an unchanged transcript, then opened in headless Chromium when the
// system has it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "batch_run.h"

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
// Windows keeps < > " out of file names; & and ' still test the escaping.
const std::string kHostileName = "a&b 'x'.jpg";
const std::string kHostileShown = "a&amp;b &#39;x&#39;.jpg";
#else
const std::string kHostileName = "<img src=x onerror=alert(1)>.jpg";
const std::string kHostileShown = "&lt;img src=x onerror=alert(1)&gt;.jpg";
#endif

// Two flights of a survey (lines of six frames, three seconds apart) and the faults a
// pre-check is for: a focal length of 0 (also of the hostile name), a frame without a position, another
// resolution, a frame 22 km away, an empty file; the real photographs of the corpus in
// a folder of their own, most of them from other continents.
void addSurveyWithFaults(const Batch& batch) {
  for (int flight = 0; flight < 2; ++flight) {
    for (int line = 0; line < 3 - flight; ++line) {
      for (int frame = 0; frame < 6; ++frame) {
        const int second = (line * 6 + frame) * 3;
        PhotoSpec photo = droneFrame(30.5421 + 0.0003 * (line % 2 ? 5 - frame : frame));
        photo.gps->longitude = 114.3608 + 0.0004 * (line + 4 * flight);
        char time[32];
        std::snprintf(time, sizeof time, "2024:05:17 1%d:%02d:%02d", flight, second / 60,
                      second % 60);
        photo.dateTimeOriginal = time;
        const std::string name = "flight" + std::to_string(flight + 1) + "/DJI_" +
                                 std::to_string(100 * flight + line * 6 + frame) + ".JPG";
        if (flight == 0 && line < 2 && frame == 3) {
          photo.focalLength = Fraction{0, 1};
          photo.focalLength35mm.reset();
        }
        if (flight == 0 && line == 2 && frame == 4) photo.gps.reset();
        if (flight == 1 && line == 0 && frame == 1) photo.pixelWidth = 4000;
        if (flight == 1 && line == 1 && frame == 5) photo.gps->latitude += 0.2;
        batch.addPhoto(flight == 0 && line == 0 && frame == 3 ? kHostileName : name, photo);
      }
    }
  }
  batch.add("flight2/empty.jpg", "");
  for (const fs::directory_entry& photo : fs::directory_iterator(PRECHECK_CORPUS_DIR)) {
    const std::string name = photo.path().filename().string();
    if (photo.path().extension() == ".md") continue;
    batch.add("corpus/" + name, readFileBytes(photo.path().string()));
  }
}

// The fields of a CSV line of the table: quoted fields hold commas.
std::vector<std::string> csvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

// Rows of the table with a latitude: the images the map must show.
std::size_t locatedRows(const std::string& table) {
  std::size_t located = 0;
  std::size_t start = table.find("\r\n") + 2;  // after the header
  while (start < table.size()) {
    const std::size_t end = table.find("\r\n", start);
    if (!csvFields(table.substr(start, end - start))[10].empty()) ++located;
    start = end + 2;
  }
  return located;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(ReportPage, WrittenBesideAnUnchangedTranscriptTheSameEveryRun) {
  Batch batch;
  addSurveyWithFaults(batch);
  const ProgramRun plain = batch.run(kAllChecks);
  const std::string report = batch.report();
  const ProgramRun run =
      batch.run(kAllChecks, {"--report", "page.html", "--table", "images.csv"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.output, plain.output);
  EXPECT_EQ(batch.report(), report);
  const std::string page = readFileBytes(batch.folder().at("page.html"));
  EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
  const std::size_t located = locatedRows(readFileBytes(batch.folder().at("images.csv")));
  EXPECT_GT(located, 30u);
  EXPECT_EQ(occurrences(page, "<circle "), located);
  // A line through each flight's located frames (17 and 12); the corpus may add its own.
  std::vector<std::size_t> pointsPerLine;
  for (std::size_t at = page.find("<polyline"); at != std::string::npos;
       at = page.find("<polyline", at + 1)) {
    const std::size_t start = page.find("points=\"", at) + 8;
    pointsPerLine.push_back(occurrences(page.substr(start, page.find('"', start) - start), ","));
  }
  EXPECT_NE(std::find(pointsPerLine.begin(), pointsPerLine.end(), 17u), pointsPerLine.end());
  EXPECT_NE(std::find(pointsPerLine.begin(), pointsPerLine.end(), 12u), pointsPerLine.end());
  EXPECT_EQ(occurrences(page, kHostileShown), 3u);  // map, list of the focal length check, table
  // Written again over its own file, with the same bytes.
  batch.run(kAllChecks, {"--report", "page.html"});
  EXPECT_EQ(readFileBytes(batch.folder().at("page.html")), page);
}

// On a terminal the summary ends by saying where the page went.
TEST(ReportPage, TerminalSummarySaysWhereThePageIs) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  RunOptions options;
  options.terminal = true;
  options.environment = {{"LC_ALL", "C.UTF-8"}};
  const ProgramRun run = batch.run(kAllChecks, {"--report", "page.html"}, options);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.output.find("\n  HTML page:    written to page.html\n"), std::string::npos)
      << run.output;
}

// Chromium of the system, or empty.
std::string systemChromium() {
#ifdef _WIN32
  return std::string();
#else
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/usr/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    for (const char* name : {"chromium", "chromium-browser"}) {
      const fs::path candidate = fs::path(folders.substr(start, end - start)) / name;
      if (!candidate.parent_path().empty() && fs::exists(candidate)) return candidate.string();
    }
    start = end + 1;
  }
  return std::string();
#endif
}

ProgramRun runChromium(const std::string& chromium, const Batch& batch,
                       const std::vector<std::string>& task) {
  std::vector<std::string> words = {"--headless", "--disable-gpu", "--no-sandbox",
                                    "--hide-scrollbars", "--enable-logging=stderr", "--v=0",
                                    "--user-data-dir=" + batch.folder().at("profile")};
  words.insert(words.end(), task.begin(), task.end());
  words.push_back("file://" + batch.folder().at("page.html"));
  RunOptions options;
  options.keepErrors = true;
  options.timeLimitSeconds = 180;
  return runProgram(chromium, words, batch.folder().path().string(), options);
}

// The page in a browser: one mark per located image, the hostile name as text (no
// element made of it), no error on the console, and a screenshot. With
// PRECHECK_PAGE_SCREENSHOT set, the screenshot is kept there.
TEST(ReportPage, OpensInChromiumWithOneMarkPerLocatedImageAndNoError) {
  const std::string chromium = systemChromium();
  if (chromium.empty()) GTEST_SKIP() << "chromium is not installed: the page is not rendered";
  Batch batch;
  addSurveyWithFaults(batch);
  batch.run(kAllChecks, {"--report", "page.html", "--table", "images.csv"});
  const std::size_t located = locatedRows(readFileBytes(batch.folder().at("images.csv")));

  const ProgramRun dom = runChromium(chromium, batch, {"--dump-dom"});
  ASSERT_EQ(dom.exitCode, 0) << dom.errors;
  EXPECT_EQ(occurrences(dom.output, "<circle "), located);
  EXPECT_EQ(occurrences(dom.output, "<img"), 0u);
  EXPECT_EQ(occurrences(dom.output, kHostileShown), 3u);
  EXPECT_EQ(dom.output.find("data-script-error=\""), std::string::npos);
  EXPECT_EQ(dom.errors.find(":CONSOLE"), std::string::npos) << dom.errors;
  // The sort script ran: the table's rows are where the page put them.
  EXPECT_NE(dom.output.find("<table id=\"images\">"), std::string::npos);

  const std::string shot = batch.folder().at("page.png");
  const ProgramRun screenshot =
      runChromium(chromium, batch, {"--screenshot=" + shot, "--window-size=1000,1300"});
  ASSERT_EQ(screenshot.exitCode, 0) << screenshot.errors;
  EXPECT_EQ(readFileBytes(shot).rfind("\x89PNG", 0), 0u);
  EXPECT_EQ(screenshot.errors.find(":CONSOLE"), std::string::npos) << screenshot.errors;
  if (const char* keep = std::getenv("PRECHECK_PAGE_SCREENSHOT")) {
    fs::copy_file(shot, keep, fs::copy_options::overwrite_existing);
  }
}

}  // namespace
