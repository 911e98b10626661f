// The survey's view of an image record.
#ifndef PRECHECK_SURVEY_SURVEY_IMAGE_H_
#define PRECHECK_SURVEY_SURVEY_IMAGE_H_

#include "load/image_record.h"
#include "survey/survey.h"

// What the survey takes of a record; the path is the caller's to fill in.
SurveyImage surveyImageOf(const ImageRecord& record);

#endif  // PRECHECK_SURVEY_SURVEY_IMAGE_H_
