// Runs on a terminal (a pseudo-terminal; on Windows a pseudo console): each check's
// result and a summary in the reader's language, names and makes that cannot move the
// cursor or fake a line, a progress line on standard error when it is a terminal too.
// The report file stays what the pipeline gets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "app/people_texts.h"
#include "batch_run.h"
#include "checks/checks.h"
#include "gbk_text.h"

namespace {

// Colours are tested on their own; here they would only stand between the words.
RunOptions onTerminal(const std::string& locale) {
  RunOptions options;
  options.terminal = true;
  options.environment = {{"LC_ALL", locale}, {"NO_COLOR", "1"}};
  return options;
}

RunOptions piped(const std::string& locale) {
  RunOptions options;
  options.environment = {{"LC_ALL", locale}};
  return options;
}

// A transcript as a terminal shows it: Windows' CR LF line ends are line ends.
std::string withoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

std::string inFolder(const std::string& folder, const std::string& name) {
  return folder + std::string(1, kPathSeparator) + name;
}

// a.jpg located, b.jpg without a position, c.jpg empty: GPS names b.jpg only.
void addMixedBatch(const Batch& batch) {
  PhotoSpec withoutGps = surveyPhoto();
  withoutGps.gps.reset();
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.addPhoto("b.jpg", withoutGps);
  batch.add("c.jpg", "");
}

// The code points of UTF-8 text; U+FFFD for a byte that is none.
std::vector<std::uint32_t> codePoints(const std::string& text) {
  std::vector<std::uint32_t> points;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = byte < 0x80 ? 1 : byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : byte >= 0xc0 ? 2 : 1;
    std::uint32_t point = length == 1 ? byte : byte & (0x3fu >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
      point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3fu);
    }
    points.push_back(length == 1 && byte >= 0x80 ? 0xfffd : point);
    i += length;
  }
  return points;
}

bool holdsChinese(const std::string& utf8) {
  const std::vector<std::uint32_t> points = codePoints(utf8);
  return std::any_of(points.begin(), points.end(),
                     [](std::uint32_t c) { return c >= 0x2e80 && c <= 0xffef; });
}

// On Windows the console shows the program's texts right whatever its code page, and
// the pseudo console of the test sends them as UTF-8.
TEST(Terminal, EnglishTerminalShowsEachChecksResultThenASummary) {
  Batch batch;
  addMixedBatch(batch);
  const ProgramRun pipeline = batch.run(kAllChecks, piped("C.UTF-8"));
  const std::string report = batch.report();
  const ProgramRun terminal = batch.run(kAllChecks, onTerminal("C.UTF-8"));
  EXPECT_EQ(terminal.exitCode, 1);
  EXPECT_EQ(withoutCarriageReturns(terminal.output),
            withoutCarriageReturns(batch.echo(kAllChecks)) +
                "\n"
                "resolution:     passed, 3 images\n"
                "  groups:       reference: 4000\xc3\x97" "3000, 2 images\n"
                "camera make:    passed, 3 images\n"
                "  groups:       reference: DJI, 2 images\n"
                "focal length:   passed, 3 images\n"
                "GPS:            not passed, 1 of 3 images offending, no usable position\n"
                "  offending:    " + inFolder("images", "b.jpg") + "\n"
                "\n"
                "Summary\n"
                "  not readable: 1 file\n"
                "  verdict:      not passed: offending images (exit code 1)\n"
                "  error.json:   written to " + inFolder("check", "error.json") + "\n"
                "What next\n"
                "  look at the images named above; error.json lists every one: " +
                inFolder("check", "error.json") + "\n"
                "  the files that could not be read are named on standard error\n"
                "  a table with a row per image: precheck --table FILE.csv TASK.CFG\n"
                "  a page with a map and every image: precheck --report FILE.html TASK.CFG\n");
  EXPECT_EQ(batch.report(), report);
  EXPECT_EQ(pipeline.exitCode, 1);
}

// Chinese only in the names; every text of the program in English.
TEST(Terminal, EnglishTerminalShowsChineseOnlyInsideNames) {
  Batch batch;
  const std::string name = "\xe8\x88\xaa\xe6\x8b\x8d.jpg";  // 航拍.jpg in UTF-8
  PhotoSpec withoutGps = surveyPhoto();
  withoutGps.gps.reset();
  batch.addPhoto(name, withoutGps);
  batch.add("notes.txt", kNotAnImage);
  for (const char* locale : {"C.UTF-8", "en_US.UTF-8"}) {
    SCOPED_TRACE(locale);
    const ProgramRun terminal = batch.run(kAllChecks, onTerminal(locale));
    std::string output = terminal.output;
    EXPECT_NE(output.find("Summary"), std::string::npos) << output;
    for (std::size_t at; (at = output.find(name)) != std::string::npos;) output.erase(at, name.size());
    EXPECT_FALSE(holdsChinese(output)) << output;
  }
}

TEST(Terminal, ChineseTerminalShowsTheProgramsTextsInChinese) {
#ifndef _WIN32
  if (!systemHasLocale("zh_CN.UTF-8")) GTEST_SKIP() << "no zh_CN.UTF-8 here: tools/ensure-locales";
#endif
  Batch batch;
  addMixedBatch(batch);
  const ProgramRun terminal = batch.run(kAllChecks, onTerminal("zh_CN.UTF-8"));
  EXPECT_EQ(terminal.exitCode, 1);
  const std::string output = withoutCarriageReturns(terminal.output);
  for (const Bilingual* text : {&texts::kSummary, &texts::kVerdict, &texts::kNotPassedOffending,
                                &texts::kNext, &texts::kLookAtOffending}) {
    EXPECT_NE(output.find(gbkToUtf8(text->chinese)), std::string::npos) << text->english;
    EXPECT_EQ(output.find(text->english), std::string::npos) << text->english;
  }
  EXPECT_NE(output.find(gbkToUtf8(kChecks[3].title.chinese) + ":") , std::string::npos)
      << output;
}

// A camera make is bytes from the file, shown like a name.
TEST(Terminal, MakesAreShownSoThatNoneCanMoveTheCursor) {
  Batch batch;
  PhotoSpec photo = surveyPhoto();
  photo.make = "DJI\x1b[2J\x07\x08";
  batch.addPhoto("a.jpg", photo);
  Switches on;
  on.cameraMake = true;
  const ProgramRun terminal = batch.run(on, onTerminal("C.UTF-8"));
  EXPECT_NE(terminal.output.find("reference: DJI\\x1B[2J\\x07\\x08, 1 image"), std::string::npos)
      << terminal.output;
}

TEST(Terminal, SummarySaysTheVerdictAndWhatBecameOfTheReport) {
  const std::string report = inFolder("check", "error.json");
  struct Case {
    const char* what;
    bool withImage;
    bool outputFolderTaken;
    std::string verdict;
    std::string reportLine;
    std::string next;
  };
  const std::string noFile = "not passed: no file below the input folder (exit code 1)";
  const std::string noInput = "  check the input folder of the configuration; there is no file below images\n";
  const Case cases[] = {
      {"passed", true, false, "passed (exit code 0)", "not written, since the batch passed",
       "  a table with a row per image: precheck --table FILE.csv TASK.CFG\n"
       "  a page with a map and every image: precheck --report FILE.html TASK.CFG\n"
       "  the batch is ready for processing\n"},
      {"no images", false, false, noFile, "written to " + report, noInput},
      {"report not written", false, true, noFile, "could not be written to " + report,
       "  check the output folder; error.json could not be written to " + report + "\n" + noInput},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Batch batch;
    if (c.withImage) batch.addPhoto("a.jpg", surveyPhoto());
    if (c.outputFolderTaken) batch.folder().writeFile("check", "a file, not a folder");
    Switches on;
    on.resolution = true;
    const ProgramRun terminal = batch.run(on, onTerminal("C.UTF-8"));
    const std::string output = withoutCarriageReturns(terminal.output);
    const std::string images = c.withImage ? "1 image" : "0 images";
    const std::string summary = "resolution:     passed, " + images + "\n" +
                                (c.withImage ? "  groups:       reference: 4000\xc3\x97" "3000, 1 image\n" : "") +
                                "camera make:    not run (switched off)\n"
                                "focal length:   not run (switched off)\n"
                                "GPS:            not run (switched off)\n"
                                "\n"
                                "Summary\n"
                                "  not readable: 0 files\n"
                                "  verdict:      " +
                                c.verdict + "\n" + "  error.json:   " + c.reportLine + "\n" +
                                "What next\n" + c.next;
    ASSERT_GE(output.size(), summary.size());
    EXPECT_EQ(output.substr(output.size() - summary.size()), summary);
  }
}

#ifndef _WIN32

std::size_t lineCount(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// The program's texts arrive in the terminal's own Chinese code page.
TEST(Terminal, GbkTerminalGetsChineseInItsCodePage) {
  if (!systemHasLocale("zh_CN.GBK")) {
    GTEST_SKIP() << "no zh_CN.GBK locale here: localedef -i zh_CN -f GBK zh_CN.GBK";
  }
  Batch batch;
  addMixedBatch(batch);
  batch.add("\xba\xbd\xc5\xc4.jpg", kNotAnImage);  // 航拍.jpg in GBK
  const ProgramRun terminal = batch.run(kAllChecks, onTerminal("zh_CN.GBK"));
  EXPECT_NE(terminal.output.find(texts::kSummary.chinese), std::string::npos) << terminal.output;
  EXPECT_NE(terminal.output.find(inFolder("images", "\xba\xbd\xc5\xc4.jpg") + "\n"), std::string::npos);
}

// Every name below is one file that no check can read; each must stay on its line and
// leave the terminal as it was.
TEST(Terminal, NamesAreShownSoThatNoneCanMoveTheCursorOrFakeALine) {
  Batch batch;
  const std::pair<std::string, std::string> names[] = {
      {"bad\xff.jpg", "bad\\xFF.jpg"},
      {"clear\x1b[2J\x1b[H.jpg", "clear\\x1B[2J\\x1B[H.jpg"},
      {"fake\n\xe5\xbc\x80\xe5\xa7\x8b.jpg", "fake\\x0A\xe5\xbc\x80\xe5\xa7\x8b.jpg"},
      {"back\r\x08\x7f\xc2\x9b.jpg", "back\\x0D\\x08\\x7F\\xC2\\x9B.jpg"},
      {"photo\xe2\x80\xaegpj.exe", "photo\\xE2\\x80\\xAEgpj.exe"},
      {"\xe8\x88\xaa\xe6\x8b\x8d.jpg", "\xe8\x88\xaa\xe6\x8b\x8d.jpg"},  // 航拍.jpg in UTF-8
  };
  for (const auto& [name, shown] : names) batch.add(name, kNotAnImage);
  Switches on;
  on.gps = true;
  const ProgramRun terminal = batch.run(on, onTerminal("C.UTF-8"));
  EXPECT_EQ(terminal.exitCode, 1);
  for (const auto& [name, shown] : names) {
    SCOPED_TRACE(shown);
    EXPECT_NE(terminal.output.find(" images/" + shown + "\n"), std::string::npos);
  }
  EXPECT_EQ(terminal.output.find_first_of("\x1b\r\x08\x7f"), std::string::npos);
  // The echo, a blank, three checks not run, the GPS line and six names, a blank and
  // the summary's eight.
  EXPECT_EQ(lineCount(terminal.output), 7u + 1 + 3 + 7 + 1 + 8) << terminal.output;
  EXPECT_NE(batch.report().find("\"clear\\u001B[2J\\u001B[H.jpg\""), std::string::npos);
}

// The classic locale's terminal shows ASCII only: English texts whole, other bytes
// escaped, and no run of "?" where a character could not be shown.
TEST(Terminal, AsciiTerminalShowsEnglishAndEscapes) {
  Batch batch;
  batch.add("\xe8\x88\xaa.jpg", kNotAnImage);
  batch.addPhoto("a.jpg", surveyPhoto());
  for (const char* locale : {"C", "POSIX"}) {
    SCOPED_TRACE(locale);
    const ProgramRun terminal = batch.run(kAllChecks, onTerminal(locale));
    EXPECT_EQ(terminal.exitCode, 1);
    EXPECT_NE(terminal.output.find("reference: 4000x3000, 1 image; EXIF not readable, 1 image\n"), std::string::npos)
        << terminal.output;
    EXPECT_NE(terminal.output.find(" images/\\xE8\\x88\\xAA.jpg\n"), std::string::npos);
    EXPECT_EQ(terminal.output.find("??"), std::string::npos);
    EXPECT_EQ(std::find_if(terminal.output.begin(), terminal.output.end(),
                           [](char c) { return static_cast<unsigned char>(c) >= 0x80; }),
              terminal.output.end());
  }
}

// Standard error as a terminal too.
RunOptions watched(const std::string& locale) {
  RunOptions options = onTerminal(locale);
  options.errorsOnTerminal = true;
  return options;
}

TEST(Terminal, ProgressLineOnlyWhenStandardErrorIsATerminal) {
  Batch batch;
  addMixedBatch(batch);
  const ProgramRun watchedRun = batch.run(kAllChecks, watched("C.UTF-8"));
  EXPECT_EQ(watchedRun.errors.find("\r["), 0u) << watchedRun.errors;
  EXPECT_NE(watchedRun.errors.find(" of 3 images"), std::string::npos) << watchedRun.errors;
  EXPECT_NE(watchedRun.errors.find("\rprecheck: skipped "), std::string::npos) << watchedRun.errors;
  // Cleared at the end: the last return leaves the cursor at the start of a blank line
  // and nothing of the progress line stays before the next line.
  EXPECT_EQ(watchedRun.errors.find("images\n"), std::string::npos) << watchedRun.errors;
  for (const bool outputOnTerminal : {true, false}) {
    RunOptions options = outputOnTerminal ? onTerminal("C.UTF-8") : piped("C.UTF-8");
    options.keepErrors = true;
    const ProgramRun run = batch.run(kAllChecks, options);
    EXPECT_EQ(run.errors.find('\r'), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("[#"), std::string::npos) << run.errors;
  }
  // Through a pipe with a terminal watching standard error, the pipe's bytes stay.
  RunOptions pipeWatched = piped("C.UTF-8");
  pipeWatched.errorsOnTerminal = true;
  EXPECT_EQ(batch.run(kAllChecks, pipeWatched).output, batch.run(kAllChecks, piped("C.UTF-8")).output);
}

// 100,000 images, hard links to small photographs: the terminal gets a screenful, not a
// line per image and check.
TEST(Terminal, HundredThousandImagesPrintFewerThanTwoHundredLines) {
  Batch batch;
  const std::filesystem::path images = batch.folder().path() / "images";
  // Some file systems allow 65,000 links to a file.
  constexpr int kLinksEach = 50000;
  for (int i = 0; i < 100000; ++i) {
    const std::string name = "a-" + std::to_string(i) + ".jpg";
    if (i % kLinksEach == 0) {
      batch.addPhoto(name, surveyPhoto());
    } else {
      std::filesystem::create_hard_link(images / ("a-" + std::to_string(i - i % kLinksEach) + ".jpg"),
                                        images / name);
    }
  }
  PhotoSpec other = surveyPhoto();
  other.pixelWidth = 5472;
  other.gps.reset();
  for (int i = 0; i < 30; ++i) batch.addPhoto("b-" + std::to_string(i) + ".jpg", other);
  const ProgramRun run = batch.run(kAllChecks, watched("C.UTF-8"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_LT(lineCount(run.output) + lineCount(run.errors), 200u) << run.output << run.errors;
  EXPECT_NE(run.output.find("and 10 more; every one is listed in check/error.json\n"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.errors.find(" of 100030 images"), std::string::npos);
}

// Colour for the verdict and offending names only, as the convention has it.
TEST(Terminal, ColourFollowsTheOptionThenNoColor) {
  Batch batch;
  addMixedBatch(batch);
  struct Case {
    const char* option;  // or null
    const char* noColor;
    bool coloured;
  };
  const Case cases[] = {
      {nullptr, "", true},
      {nullptr, "1", false},
      {"--color=auto", "1", false},
      {"--color=always", "1", true},
      {"--color=never", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.option != nullptr ? c.option : "-") + " NO_COLOR=" + c.noColor);
    RunOptions options = onTerminal("C.UTF-8");
    options.environment = {{"LC_ALL", "C.UTF-8"}, {"NO_COLOR", c.noColor}};
    std::vector<std::string> words;
    if (c.option != nullptr) words.push_back(c.option);
    const ProgramRun run = batch.run(kAllChecks, words, options);
    const bool coloured =
        run.output.find("\x1b[1;31mnot passed: offending images\x1b[0m") != std::string::npos &&
        run.output.find("\x1b[1;31mimages/b.jpg\x1b[0m\n") != std::string::npos &&
        run.output.find("\x1b[1;32mpassed\x1b[0m, 3 images") != std::string::npos;
    EXPECT_EQ(coloured, c.coloured) << run.output;
    if (!c.coloured) {
      EXPECT_EQ(run.output.find('\x1b'), std::string::npos);
    }
    // Nothing else is coloured: every sequence opens one of these or closes it.
    std::size_t sequences = 0;
    for (std::size_t at = 0; (at = run.output.find('\x1b', at)) != std::string::npos; ++at) ++sequences;
    EXPECT_EQ(sequences, c.coloured ? 2u * 6 : 0u);
  }
}

#endif  // _WIN32

// Options behind the configuration path are only echoed, as they always were; on a
// terminal the run says so once, through a pipe it says nothing.
TEST(Terminal, OptionsBehindTheConfigurationPathAreSaidToBeOnlyEchoed) {
  Batch batch;
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.folder().writeFile("task.cfg", Batch::configText(kAllChecks));
  const std::vector<std::string> words{"task.cfg", "extra", "--table", "x.csv"};
  for (const bool terminal : {true, false}) {
    RunOptions options = terminal ? onTerminal("C.UTF-8") : piped("C.UTF-8");
    options.keepErrors = true;
    const ProgramRun run =
        runProgram(PRECHECK_BINARY, words, batch.folder().path().string(), options);
    EXPECT_EQ(run.exitCode, 0);
    const std::string said =
        "precheck: options go before the configuration path; these words were only echoed: "
        "--table x.csv";
    EXPECT_EQ(run.errors.find(said) != std::string::npos, terminal) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(batch.folder().path() / "x.csv"));
  }
}

}  // namespace
