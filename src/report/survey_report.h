// The survey of a run as its outputs show it: the --survey JSON, and the values the
// table and the map add per image.
#ifndef PRECHECK_REPORT_SURVEY_REPORT_H_
#define PRECHECK_REPORT_SURVEY_REPORT_H_

#include <cstddef>
#include <string>
#include <vector>

#include "load/image_records.h"
#include "report/table_column.h"
#include "survey/survey.h"

// The survey's input and result for a run, kept together: findings name images by
// their index into `images`.
struct SurveyOfRun {
  SurveyImages images;
  SurveyResult result;
};

// The path of an image below the input folder in UTF-8 with "/" between names, as
// tools that read the survey expect on every system.
std::string surveyPathOf(const std::string& inputFolder, const std::string& path);

// `path` with "/" between its names whatever the system joins them with, so that files
// for tools and people are the same bytes on every system.
std::string withSlashes(std::string path);

// Every image of the run as the survey takes it; `images` must keep their details.
SurveyImages surveyImagesOf(ImageRecords& images, const std::string& inputFolder);

SurveyOfRun surveyOfRun(ImageRecords& images, const std::string& inputFolder,
                        const SurveySettings& settings);

// The JSON of --survey, in UTF-8, ending with a line break.
std::string surveyJsonText(const SurveyOfRun& survey);

// The columns the table adds at its end, their values for image `index`, and the
// survey kinds that name it separated by spaces.
extern const TableColumn kSurveyColumns[5];
std::vector<std::string> surveyFieldsOf(const SurveyOfRun& survey, std::size_t index);

#endif  // PRECHECK_REPORT_SURVEY_REPORT_H_
