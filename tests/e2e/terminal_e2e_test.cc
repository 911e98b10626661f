// Runs on a terminal (a pseudo-terminal; on Windows a pseudo console): the transcript
// in the terminal's encoding, names and makes that cannot move the cursor or fake a
// line, and the summary at the end. The report file stays what the pipeline gets.
#include <gtest/gtest.h>

#include <algorithm>

#include "batch_run.h"
#include "gbk_text.h"

namespace {

RunOptions onTerminal(const std::string& locale) {
  RunOptions options;
  options.terminal = true;
  options.environment = {{"LC_ALL", locale}};
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

// a.jpg located, b.jpg without a position, c.jpg empty: GPS names b.jpg only.
void addMixedBatch(const Batch& batch) {
  PhotoSpec withoutGps = surveyPhoto();
  withoutGps.gps.reset();
  batch.addPhoto("a.jpg", surveyPhoto());
  batch.addPhoto("b.jpg", withoutGps);
  batch.add("c.jpg", "");
}

const std::string kMixedBatchSummary =
    "\nSummary\n"
    "  resolution:    3 images, 0 offending\n"
    "  camera make:   3 images, 0 offending\n"
    "  focal length:  3 images, 0 offending\n"
    "  GPS:           3 images, 1 offending\n"
    "  not readable:  1 file\n"
    "  verdict:       not passed: offending images (exit code 1)\n"
    "  error.json:    written to check" +
    std::string(1, kPathSeparator) + "error.json\n";

// On Windows the console shows the program's texts right whatever its code page, and
// the pseudo console of the test sends them as UTF-8.
TEST(Terminal, Utf8TerminalShowsThePipelinesTranscriptReadableThenASummary) {
  Batch batch;
  addMixedBatch(batch);
  const ProgramRun pipeline = batch.run(kAllChecks, piped("C.UTF-8"));
  const std::string report = batch.report();
  const ProgramRun terminal = batch.run(kAllChecks, onTerminal("C.UTF-8"));
  EXPECT_EQ(terminal.exitCode, 1);
  EXPECT_EQ(terminal.output,
            gbkToUtf8(withoutCarriageReturns(pipeline.output)) + kMixedBatchSummary);
  EXPECT_EQ(batch.report(), report);
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
  EXPECT_NE(terminal.output.find("\nDJI\\x1B[2J\\x07\\x08\n1\n"), std::string::npos)
      << terminal.output;
}

TEST(Terminal, SummarySaysTheVerdictAndWhatBecameOfTheReport) {
  const std::string report = "check" + std::string(1, kPathSeparator) + "error.json";
  struct Case {
    const char* what;
    bool withImage;
    bool outputFolderTaken;
    std::string verdict;
    std::string reportLine;
  };
  const std::string noFile = "not passed: no file below the input folder (exit code 1)";
  const Case cases[] = {
      {"passed", true, false, "passed (exit code 0)", "not written, since the batch passed"},
      {"no images", false, false, noFile, "written to " + report},
      {"report not written", false, true, noFile, "could not be written to " + report},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Batch batch;
    if (c.withImage) batch.addPhoto("a.jpg", surveyPhoto());
    if (c.outputFolderTaken) batch.folder().writeFile("check", "a file, not a folder");
    Switches on;
    on.resolution = true;
    const ProgramRun terminal = batch.run(on, onTerminal("C.UTF-8"));
    const std::string images = c.withImage ? "1 image" : "0 images";
    const std::string summary = "\nSummary\n  resolution:    " + images + ", 0 offending\n" +
                                "  camera make:   not run\n"
                                "  focal length:  not run\n"
                                "  GPS:           not run\n"
                                "  not readable:  0 files\n"
                                "  verdict:       " +
                                c.verdict + "\n" + "  error.json:    " + c.reportLine + "\n";
    ASSERT_GE(terminal.output.size(), summary.size());
    EXPECT_EQ(terminal.output.substr(terminal.output.size() - summary.size()), summary);
  }
}

#ifndef _WIN32

std::size_t lineCount(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(Terminal, GbkTerminalGetsTheProgramsOwnBytes) {
  if (!systemHasLocale("zh_CN.GBK")) {
    GTEST_SKIP() << "no zh_CN.GBK locale here: localedef -i zh_CN -f GBK zh_CN.GBK";
  }
  Batch batch;
  addMixedBatch(batch);
  batch.add("\xba\xbd\xc5\xc4.jpg", kNotAnImage);  // 航拍.jpg in GBK
  const ProgramRun pipeline = batch.run(kAllChecks, piped("zh_CN.GBK"));
  const ProgramRun terminal = batch.run(kAllChecks, onTerminal("zh_CN.GBK"));
  EXPECT_EQ(terminal.output.substr(0, pipeline.output.size()), pipeline.output);
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
  const ProgramRun pipeline = batch.run(on, piped("C.UTF-8"));
  const ProgramRun terminal = batch.run(on, onTerminal("C.UTF-8"));
  EXPECT_EQ(terminal.exitCode, 1);
  for (const auto& [name, shown] : names) {
    SCOPED_TRACE(shown);
    // The progress line, the report block and the report's echo, the last escaped by
    // JSON first.
    EXPECT_NE(terminal.output.find("----> " + shown + "\n"), std::string::npos);
    EXPECT_NE(terminal.output.find("*----> " + shown + "\n"), std::string::npos);
  }
  EXPECT_EQ(terminal.output.find_first_of("\x1b\r\x08\x7f"), std::string::npos);
  // The pipeline's line feed name broke its progress line and its report line in two.
  EXPECT_EQ(lineCount(terminal.output), lineCount(pipeline.output) - 2 + 9);
  EXPECT_NE(terminal.output.find("\"clear\\u001B[2J\\u001B[H.jpg\""), std::string::npos);
}

// The classic locale's terminal shows ASCII only: the program's Chinese texts as "?",
// other bytes escaped.
TEST(Terminal, AsciiTerminalShowsQuestionMarksAndEscapes) {
  Batch batch;
  batch.add("\xe8\x88\xaa.jpg", kNotAnImage);
  Switches on;
  on.gps = true;
  const ProgramRun terminal = batch.run(on, onTerminal("C"));
  EXPECT_EQ(terminal.exitCode, 1);
  EXPECT_NE(terminal.output.find("\n????????????gps...\n"), std::string::npos);
  EXPECT_NE(terminal.output.find("----> \\xE8\\x88\\xAA.jpg\n"), std::string::npos);
  EXPECT_EQ(std::find_if(terminal.output.begin(), terminal.output.end(),
                         [](char c) { return static_cast<unsigned char>(c) >= 0x80; }),
            terminal.output.end());
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
