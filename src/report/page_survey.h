// The survey's part of the page: which images it named, and each kind of finding with
// its sentence, its numbers and every image it names. Kept apart from the checks' part,
// as the survey reads plain values of its own.
#ifndef PRECHECK_REPORT_PAGE_SURVEY_H_
#define PRECHECK_REPORT_PAGE_SURVEY_H_

#include <cstddef>
#include <string>
#include <vector>

struct SurveyResult;

struct SurveyMarks {
  bool named = false;  // by any finding
  bool gap = false;    // by a finding of a gap in overlap
};

// Image `index` of the survey, whose images are the run's in list order.
SurveyMarks surveyMarksOf(const SurveyResult& survey, std::size_t index);

// One item per kind that named images, for the verdict's list.
void appendSurveyVerdict(const SurveyResult& survey, std::string& page);

// The section: the flights, then every kind; `names` are the images' names, UTF-8.
void appendSurveySection(const SurveyResult& survey, const std::vector<std::string>& names,
                         std::string& page);

#endif  // PRECHECK_REPORT_PAGE_SURVEY_H_
