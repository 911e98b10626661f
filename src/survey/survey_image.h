// The survey's view of an image record, and capture times as the survey compares them.
#ifndef PRECHECK_SURVEY_SURVEY_IMAGE_H_
#define PRECHECK_SURVEY_SURVEY_IMAGE_H_

#include <optional>
#include <string>

#include "load/image_record.h"
#include "survey/survey.h"

// An EXIF time "YYYY:MM:DD HH:MM:SS" (or with '-' and 'T'), with its sub-seconds (the
// digits of SubSecTimeOriginal) when given; empty when it is no such time.
std::optional<CaptureTime> parseCaptureTime(const std::string& text,
                                            const std::string& subSeconds = std::string());

// What the survey takes of a record; the path is the caller's to fill in.
SurveyImage surveyImageOf(const ImageRecord& record);

#endif  // PRECHECK_SURVEY_SURVEY_IMAGE_H_
