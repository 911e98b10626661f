#include "report/page_survey.h"

#include <cstring>

#include "report/html_text.h"
#include "survey/survey.h"
#include "survey/survey_kinds.h"
#include "survey/survey_text.h"
#include "common/numbers.h"

namespace {

std::string counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

void appendFlights(const SurveyResult& survey, std::string& page) {
  page += "<p>" + counted(survey.flights.size(), "flight", "flights") + ".</p>";
  if (survey.flights.empty()) return;
  page += "<ul class=\"flights\">";
  for (std::size_t i = 0; i < survey.flights.size(); ++i) {
    const SurveyFlight& flight = survey.flights[i];
    page += "<li>flight " + std::to_string(i + 1) + ": " +
            counted(flight.images, "image", "images") + ", from ";
    appendHtml(flight.start, page);
    if (flight.medianHeightM) {
      page += ", median height " + decimalText(*flight.medianHeightM, 1) + " m";
    }
    page += "</li>";
  }
  page += "</ul>";
}

void appendFinding(const SurveyFinding& finding, const std::vector<std::string>& names,
                   std::string& page) {
  page += "<p>";
  appendHtml(finding.detail, page);
  for (const SurveyNumber& number : finding.numbers) {
    page += " <span class=\"number\">";
    appendHtml(number.name, page);
    page += " " + decimalText(number.value, number.places) + "</span>";
  }
  page += "</p>";
  if (finding.images.empty()) return;
  std::size_t line = 0;
  for (const std::size_t index : finding.images) {
    if (index >= names.size()) continue;
    startLineInBlocks(line++, finding.images.size(), "names", page);
    appendHtml(names[index], page);
    page += '\n';
  }
  if (line > 0) page += "</pre>";
}

}  // namespace

SurveyMarks surveyMarksOf(const SurveyResult& survey, std::size_t index) {
  SurveyMarks marks;
  if (index >= survey.perImage.size()) return marks;
  for (const std::size_t kind : survey.perImage[index].kinds) {
    marks.named = true;
    if (kind < kSurveyKindCount && std::strcmp(kSurveyKinds[kind].name, "overlap-gap") == 0) {
      marks.gap = true;
    }
  }
  return marks;
}

void appendSurveyVerdict(const SurveyResult& survey, std::string& page) {
  for (std::size_t kind = 0; kind < kSurveyKindCount; ++kind) {
    std::size_t named = 0;
    for (const SurveyFinding& finding : survey.findings) {
      if (finding.kind == kind) named += finding.images.size();
    }
    if (named == 0) continue;
    page += "<li><a href=\"#survey-";
    page += kSurveyKinds[kind].name;
    page += "\">";
    page += kSurveyKinds[kind].name;
    page += "</a> (survey): " + counted(named, "image", "images") + " named</li>";
  }
}

void appendSurveySection(const SurveyResult& survey, const std::vector<std::string>& names,
                         std::string& page) {
  page += "<section id=\"survey\"><h2>Survey</h2>";
  appendFlights(survey, page);
  for (std::size_t kind = 0; kind < kSurveyKindCount; ++kind) {
    page += "<h3 id=\"survey-";
    page += kSurveyKinds[kind].name;
    page += "\">";
    page += kSurveyKinds[kind].name;
    page += " <small>(";
    page += kSurveyKinds[kind].meaning;
    page += ")</small></h3>";
    bool any = false;
    for (const SurveyFinding& finding : survey.findings) {
      if (finding.kind != kind) continue;
      any = true;
      appendFinding(finding, names, page);
    }
    for (const NotComputed& skipped : survey.notComputed) {
      if (skipped.kind != kind) continue;
      any = true;
      page += "<p>Not computed: ";
      appendHtml(skipped.reason, page);
      page += "</p>";
    }
    if (!any) page += "<p>None found.</p>";
  }
  page += "</section>";
}
