// The survey's part of the summary on a terminal: one line per kind that found
// something, with its count and the first images it names; nothing when it found
// nothing (what it could not compute is in the --survey file).
#ifndef PRECHECK_APP_SURVEY_SUMMARY_H_
#define PRECHECK_APP_SURVEY_SUMMARY_H_

#include <string>
#include <vector>

#include "common/console.h"
#include "survey/survey.h"

// `names` are the images' paths below the input folder as the system gives them, in
// list order.
void printSurveySummary(const SurveyResult& survey, const std::vector<std::string>& names,
                        Console& console);

#endif  // PRECHECK_APP_SURVEY_SUMMARY_H_
