#include "app/survey_part.h"

// Nothing yet: the run does not survey its batch.
void printSurveyPart(const RunSummary&, const Reader&, Console&) {}
