#include "app/run_summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "record_list.h"
#include "recording_console.h"

namespace {

const Reader kAsciiEnglish{Language::english, true};

ImageRecord sized(std::uint32_t width, std::uint32_t height) {
  ImageRecord record;
  record.status = ExifStatus::ok;
  record.pixelWidth = width;
  record.pixelHeight = height;
  return record;
}

// `counts` images of each size, then `errors` whose EXIF block cannot be read; the
// resolution check names every image outside the first size.
struct ResolutionRun {
  RecordList images;
  RunSummary summary;

  ResolutionRun(const std::vector<std::pair<std::uint32_t, std::size_t>>& counts,
                std::size_t errors) {
    Offending offending;
    for (const auto& [width, count] : counts) {
      for (std::size_t i = 0; i < count; ++i) {
        if (width != counts.front().first) offending.push_back(images.size());
        images.add("in/" + std::to_string(width) + "-" + std::to_string(i) + ".jpg",
                   sized(width, 3000));
      }
    }
    for (std::size_t i = 0; i < errors; ++i) {
      offending.push_back(images.size());
      ImageRecord broken;
      broken.status = ExifStatus::noExif;
      images.add("in/broken-" + std::to_string(i) + ".jpg", broken);
    }
    summary.checks.byCheck[0] = offending;
    summary.images = images.size();
    summary.reportPath = "check/error.json";
    summary.reportWritten = true;
  }

  std::string results() {
    RecordingConsole console;
    printCheckResults(summary, images, kAsciiEnglish, console);
    return console.text;
  }
};

TEST(CheckResults, ConsistencyCheckGivesItsGroupsWithKeysAndSizes) {
  ResolutionRun run({{5472, 996}, {4000, 4}}, 1);
  EXPECT_EQ(run.results(),
            "\n"
            "resolution:     not passed, 5 of 1001 images offending, another resolution\n"
            "  groups:       reference: 5472x3000, 996 images; 4000x3000, 4 images; "
            "EXIF not readable, 1 image\n"
            "  offending:    in/4000-0.jpg\n"
            "                in/4000-1.jpg\n"
            "                in/4000-2.jpg\n"
            "                in/4000-3.jpg\n"
            "                in/broken-0.jpg\n"
            "camera make:    not run (switched off)\n"
            "focal length:   not run (switched off)\n"
            "GPS:            not run (switched off)\n");
}

TEST(CheckResults, PastTwentyNamesTheRestAreWhereTheReportIs) {
  struct Case {
    std::size_t others;
    bool reportWritten;
    const char* last;
  };
  const Case cases[] = {
      {20, true, "                in/3-19.jpg\n"},
      {21, true, "                and 1 more; every one is listed in check/error.json\n"},
      {500, false, "                and 480 more (error.json could not be written)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.others);
    ResolutionRun run({{5, c.others + 1}, {3, c.others}}, 0);
    run.summary.reportWritten = c.reportWritten;
    const std::string text = run.results();
    const std::string mine = text.substr(0, text.find("camera make:"));
    EXPECT_EQ(mine.size() - mine.rfind('\n', mine.size() - 2) - 1, std::string(c.last).size())
        << mine;
    EXPECT_EQ(mine.substr(mine.size() - std::string(c.last).size()), c.last);
    EXPECT_EQ(std::count(mine.begin(), mine.end(), '\n'),
              static_cast<long>(3 + std::min<std::size_t>(c.others, 20) + (c.others > 20)));
  }
}

TEST(CheckResults, ManyGroupsShowTheLargestAndCountTheRest) {
  ResolutionRun run({{100, 3}, {7, 1}, {8, 2}, {9, 1}, {10, 1}, {11, 1}, {12, 1}}, 0);
  const std::string text = run.results();
  // Of equal sizes, groups come in the order of their keys' bytes.
  EXPECT_NE(text.find("  groups:       reference: 100x3000, 3 images; 8x3000, 2 images; "
                      "10x3000, 1 image; 11x3000, 1 image; 12x3000, 1 image; and 2 more groups\n"),
            std::string::npos)
      << text;
}

TEST(Summary, EndsWithWhatToDoNext) {
  struct Case {
    const char* what;
    Verdict verdict;
    bool reportWritten;
    bool anyRan;
    std::size_t unreadable;
    bool tableAsked;  // and the page
    std::string next;
  };
  const std::string table =
      "  a table with a row per image: precheck --table FILE.csv TASK.CFG\n"
      "  a page with a map and every image: precheck --report FILE.html TASK.CFG\n";
  const Case cases[] = {
      {"passed", Verdict::passed, false, true, 0, true, "  the batch is ready for processing\n"},
      {"passed, no table", Verdict::passed, false, true, 0, false,
       table + "  the batch is ready for processing\n"},
      {"offending", Verdict::offending, true, true, 2, false,
       "  look at the images named above; error.json lists every one: out/error.json\n"
       "  the files that could not be read are named on standard error\n" + table},
      {"report lost", Verdict::offending, false, true, 0, true,
       "  check the output folder; error.json could not be written to out/error.json\n"},
      {"no images", Verdict::noImages, true, true, 0, false,
       "  check the input folder of the configuration; there is no file below in\n"},
      {"nothing ran", Verdict::passed, false, false, 0, true,
       "  every check is switched off: only exactly \"true\" switches one on\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RunSummary summary;
    summary.images = c.verdict == Verdict::noImages ? 0 : 3;
    summary.verdict = c.verdict;
    summary.reportWritten = c.reportWritten;
    if (c.anyRan) summary.checks.byCheck[3] = Offending{};
    summary.unreadable = c.unreadable;
    summary.tableAsked = c.tableAsked;
    summary.pageAsked = c.tableAsked;
    summary.inputFolder = "in";
    summary.reportPath = "out/error.json";
    RecordingConsole console;
    printSummary(summary, kAsciiEnglish, console);
    const std::size_t next = console.text.find("What next\n");
    ASSERT_NE(next, std::string::npos) << console.text;
    EXPECT_EQ(console.text.substr(next + 10), c.next);
  }
}

}  // namespace
