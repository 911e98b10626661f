// What a run tells people at a terminal once it is done: per check what it found, then
// what could not be read, the verdict, where error.json and the asked files went, and
// what to do next. Never printed for a pipeline.
#ifndef PRECHECK_APP_RUN_SUMMARY_H_
#define PRECHECK_APP_RUN_SUMMARY_H_

#include <cstddef>
#include <string>
#include <vector>

#include "app/reader.h"
#include "checks/checks.h"
#include "common/console.h"
#include "load/image_records.h"
#include "survey/survey.h"

enum class Verdict { passed, offending, noImages };

struct RunSummary {
  std::size_t images = 0;
  // What the checks found, row by row of the table of checks.
  CheckOutcomes checks;
  std::size_t unreadable = 0;
  Verdict verdict = Verdict::passed;
  std::string inputFolder;
  std::string reportPath;
  bool reportWritten = false;
  bool tableAsked = false;
  bool pageAsked = false;
  // The --ignore options that would leave out the files that are no images; empty
  // when there are none.
  std::string ignoreOptions;
  // The files of --table and --geojson.
  struct AskedFile {
    const char* what;
    std::string path;
    bool written;
  };
  std::vector<AskedFile> askedFiles;
  int exitCode = 0;
  // The survey of the batch, and the images' paths below the input folder that its
  // findings name by index.
  const SurveyResult* survey = nullptr;
  std::vector<std::string> surveyNames;
};

// Column where values start after a label.
inline constexpr std::size_t kValueColumn = 16;

// Names a check lists in full; past this many, the first ones and where the rest are.
inline constexpr std::size_t kNamesShown = 20;

// Per check, its result: a labelled line, for a consistency check its groups, and the
// images it named. `images` are the run's, all read.
void printCheckResults(const RunSummary& summary, ImageRecords& images, const Reader& reader,
                       Console& console);

// The summary and what to do next.
void printSummary(const RunSummary& summary, const Reader& reader, Console& console);

#endif  // PRECHECK_APP_RUN_SUMMARY_H_
