#include "app/survey_part.h"

#include "app/survey_summary.h"

void printSurveyPart(const RunSummary& summary, const Reader&, Console& console) {
  if (summary.survey != nullptr) printSurveySummary(*summary.survey, summary.surveyNames, console);
}
