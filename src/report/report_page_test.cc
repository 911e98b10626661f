#include "report/report_page.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "exif/capture_time.h"
#include "platform/platform.h"
#include "report/html_text.h"
#include "record_list.h"

namespace {

constexpr std::size_t kResolutionRow = 0, kGpsRow = 3;

// A located frame of a survey, taken `second` seconds into the flight.
ImageRecord frame(double latitude, double longitude, int second = 0) {
  ImageRecord record;
  record.status = ExifStatus::ok;
  record.pixelWidth = 4000;
  record.pixelHeight = 3000;
  record.make.kept = "DJI";
  record.make.length = 3;
  record.focalLength = 8.8;
  record.latitude = latitude;
  record.longitude = longitude;
  record.altitude = 120;
  auto details = std::make_shared<ImageDetails>();
  details->model = "FC6310";
  details->captureTime = "2024:05:01 10:00:" + std::string(second < 10 ? "0" : "") +
                         std::to_string(second);
  details->survey.captureTime = parseCaptureTime(details->captureTime, "");
  record.details = details;
  return record;
}

ImageRecord unlocated() {
  ImageRecord record = frame(0, 0);
  record.latitude = std::nan("");
  return record;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

struct Page {
  RecordList images;
  CheckOutcomes checks;
  std::string reportPath = "out/error.json";
  bool reportWritten = true;

  std::string text() {
    return reportPageText(PageFacts{images, "in", checks, reportPath, reportWritten});
  }
};

const std::string kHostile = "<img src=x onerror=alert(1)>.jpg";

// The hostile name is text everywhere the page shows it: table, map, check list.
TEST(ReportPage, NamesFromTheBatchAreNeverMarkup) {
  Page page;
  page.images.add("in/" + kHostile, frame(30.5, 114.36));
  page.images.add("in/a\"b'c&.jpg", frame(30.5001, 114.36, 2));
  page.images.add("in/\xff.jpg", unlocated());
  page.checks.byCheck[kGpsRow] = Offending{0, 1, 2};
  const std::string text = page.text();
  EXPECT_EQ(occurrences(text, "<img"), 0u);
  EXPECT_EQ(occurrences(text, "onerror=alert"), 3u);  // table, map title, list of names
  EXPECT_EQ(occurrences(text, "&lt;img src=x onerror=alert(1)&gt;.jpg"), 3u);
  EXPECT_EQ(occurrences(text, "a&quot;b&#39;c&amp;.jpg"), 3u);
  EXPECT_EQ(occurrences(text, "a\"b"), 0u);
  // A name that is no text in the encoding of names shows its bytes; the page stays
  // UTF-8. (Windows reads names in its code page, where these bytes may be a character.)
  EXPECT_EQ(text.find('\xff'), std::string::npos);
#ifndef _WIN32
  EXPECT_EQ(occurrences(text, "\\xFF.jpg"), 2u);  // the check's list and the table
#endif
}

TEST(ReportPage, OneMarkPerLocatedImageAndOutliersAtTheEdge) {
  Page page;
  for (int i = 0; i < 20; ++i) page.images.add("in/f" + std::to_string(i) + ".jpg",
                                               frame(30.5 + i * 1e-4, 114.36, i));
  page.images.add("in/far.jpg", frame(31.5, 114.36, 30));  // about 110 km north
  page.images.add("in/none.jpg", unlocated());
  ImageRecord gone;
  gone.skipped = SkipReason::missing;
  page.images.add("in/gone.jpg", gone);
  page.checks.byCheck[kResolutionRow] = Offending{};
  page.checks.byCheck[kGpsRow] = Offending{21};
  const std::string text = page.text();
  EXPECT_EQ(occurrences(text, "<circle "), 21u);
  EXPECT_EQ(occurrences(text, "<circle class=\"out\""), 1u);
  // Passed marks first, the named one drawn last, on top.
  EXPECT_LT(text.find("<g class=\"m ok\">"), text.find("<g class=\"m ck\"><circle class=\"out\" data-i=\"20\""));
  EXPECT_NE(text.find(">111 km</text>"), std::string::npos);
  EXPECT_NE(text.find("far.jpg, 111 km from the batch</title>"), std::string::npos);
  // One flight: its line passes through every located frame.
  EXPECT_EQ(occurrences(text, "<polyline class=\"flight\""), 1u);
  const std::size_t line = text.find("points=\"");
  EXPECT_EQ(occurrences(text.substr(line, text.find('"', line + 8) - line), ","), 21u);
  // The problem rows first, in list order, then the rest.
  const std::size_t table = text.find("<tbody>");
  EXPECT_LT(text.find("none.jpg", table), text.find("gone.jpg", table));
  EXPECT_LT(text.find("gone.jpg", table), text.find(">f0.jpg", table));
  EXPECT_EQ(occurrences(text, "<tr class=\"pr\">"), 2u);
}

TEST(ReportPage, VerdictSaysWhatFailedAndWhereTheReportWent) {
  Page failed;
  failed.images.add("in/a.jpg", frame(1, 1));
  failed.images.add("in/b.jpg", unlocated());
  failed.checks.byCheck[kGpsRow] = Offending{1};
  // Joined as the system joins it, shown with "/" so that the page is the same bytes
  // on every system.
  failed.reportPath = platform::joinPath("out", "<error>.json");
  std::string text = failed.text();
  EXPECT_NE(text.find("<h1 class=\"fail\">Not passed</h1>"), std::string::npos);
  EXPECT_NE(text.find("GPS</a>: 1 image named"), std::string::npos);
  EXPECT_NE(text.find("written to <code>out/&lt;error&gt;.json</code>"), std::string::npos);
  failed.reportWritten = false;
  EXPECT_NE(failed.text().find("could not be written to <code>"), std::string::npos);

  Page passed;
  passed.images.add("in/a.jpg", frame(1, 1));
  passed.checks.byCheck[kGpsRow] = Offending{};
  text = passed.text();
  EXPECT_NE(text.find("<h1 class=\"pass\">Passed</h1>"), std::string::npos);
  EXPECT_NE(text.find("not written, since the batch passed"), std::string::npos);
  EXPECT_EQ(text.find("out/error.json"), std::string::npos);

  Page empty;
  EXPECT_NE(empty.text().find("<h1 class=\"fail\">Not passed</h1>"), std::string::npos);
  EXPECT_EQ(empty.text().find("<svg"), std::string::npos);
}

// A batch of 100,000 frames with a check naming every tenth: the page stays small
// enough to open, and its bytes are the same run after run.
TEST(ReportPage, LargeBatchStaysSmallAndTheSame) {
  Page page;
  Offending named;
  for (int i = 0; i < 100000; ++i) {
    char name[64];  // as a drone names them, ten lines of a thousand frames per flight
    std::snprintf(name, sizeof name, "in/flight_%d/line_%d/DJI_%06d.JPG", i / 10000,
                  i / 1000 % 10, i + 1);
    page.images.add(name,
                    frame(30.5 + (i % 300) * 5e-5, 114.36 + (i / 300) * 5e-5, i % 60));
    if (i % 10 == 0) named.push_back(static_cast<std::size_t>(i));
  }
  page.checks.byCheck[kGpsRow] = named;
  const std::string text = page.text();
  EXPECT_LT(text.size(), 20u * 1000 * 1000);
  // Every image a dot, drawn by one path for each state instead of an element each.
  EXPECT_EQ(occurrences(text, "<circle "), 0u);
  EXPECT_EQ(occurrences(text, "h0"), 100000u);
  EXPECT_EQ(occurrences(text, "<path class=\"dots\""), 2u);
  // The lists in blocks that a browser lays out as they come into sight: every row and
  // every name once, no block longer than the one the page's style sizes.
  for (const auto& [list, lines] : {std::pair<std::string, std::size_t>{"rows", 100001},
                                    {"names", 10000}}) {
    const std::string open = "<pre class=\"" + list + " long\">";
    std::size_t seen = 0;
    for (std::size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
      at += open.size();
      const std::size_t block = occurrences(text.substr(at, text.find("</pre>", at) - at), "\n");
      EXPECT_LE(block, kLinesPerBlock);
      seen += block;
    }
    EXPECT_EQ(seen, lines) << list;
  }
  EXPECT_NE(text.find("<pre class=\"rows long\">file\tstatus\t"), std::string::npos);
  EXPECT_EQ(text, page.text());
}

}  // namespace
