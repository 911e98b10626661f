// The page of --report: one self-contained HTML file that people open in a browser or
// print. The verdict first, then the map, what each check found, and every image in a
// table with the problem rows first. It loads nothing from anywhere, and its bytes
// depend only on the batch: the same on every system and in every locale.
#ifndef PRECHECK_REPORT_REPORT_PAGE_H_
#define PRECHECK_REPORT_REPORT_PAGE_H_

#include <cstdint>
#include <string>

#include "checks/checks.h"
#include "load/image_records.h"

struct SurveyResult;

struct PageFacts {
  ImageRecords& images;  // must keep their details, for the capture times
  const std::string& inputFolder;
  const CheckOutcomes& checks;
  const std::string& reportPath;  // where error.json goes
  bool reportWritten = false;
  // What the survey found, its images being the run's in list order; null when the run
  // had no survey.
  const SurveyResult* survey = nullptr;
};

std::string reportPageText(const PageFacts& facts);

#endif  // PRECHECK_REPORT_REPORT_PAGE_H_
