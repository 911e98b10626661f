// The summary's part about what the batch holds, one line per kind of file: a place
// kept for it in the summary, between the verdict and what to do next.
#ifndef PRECHECK_APP_SURVEY_PART_H_
#define PRECHECK_APP_SURVEY_PART_H_

#include "app/reader.h"
#include "app/run_summary.h"
#include "common/console.h"

void printSurveyPart(const RunSummary& summary, const Reader& reader, Console& console);

#endif  // PRECHECK_APP_SURVEY_PART_H_
