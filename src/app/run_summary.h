// The few lines that end a run on a terminal: what each check found, what could not be
// read, the verdict and where error.json went. Never printed for a pipeline.
#ifndef PRECHECK_APP_RUN_SUMMARY_H_
#define PRECHECK_APP_RUN_SUMMARY_H_

#include <cstddef>
#include <string>
#include <vector>

#include "checks/checks.h"
#include "common/console.h"

enum class Verdict { passed, offending, noImages };

struct RunSummary {
  std::size_t images = 0;
  // What the checks found, row by row of the table of checks.
  CheckOutcomes checks;
  std::size_t unreadable = 0;
  Verdict verdict = Verdict::passed;
  std::string reportPath;
  bool reportWritten = false;
  // The files of --table and --geojson.
  struct AskedFile {
    const char* what;
    std::string path;
    bool written;
  };
  std::vector<AskedFile> askedFiles;
  int exitCode = 0;
};

void printSummary(const RunSummary& summary, Console& console);

#endif  // PRECHECK_APP_RUN_SUMMARY_H_
