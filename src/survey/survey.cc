#include "survey/survey.h"

#include <algorithm>
#include <cstring>

#include "survey/survey_context.h"
#include "survey/survey_kinds.h"

std::size_t surveyKindNamed(const char* name) {
  for (std::size_t row = 0; row < kSurveyKindCount; ++row) {
    if (std::strcmp(kSurveyKinds[row].name, name) == 0) return row;
  }
  return kSurveyKindCount;
}

SurveyResult surveyBatch(const SurveyImages& images,
                         const SurveySettings& settings) {
  SurveyResult result;
  const SurveyContext context = surveyContextOf(images, settings, result);
  for (std::size_t row = 0; row < kSurveyKindCount; ++row) {
    const std::size_t before = result.findings.size();
    kSurveyKinds[row].find(context, row, result);
    // Findings of a kind in list order of their first image, whatever order found them.
    std::stable_sort(result.findings.begin() + static_cast<std::ptrdiff_t>(before),
                     result.findings.end(), [](const SurveyFinding& a, const SurveyFinding& b) {
                       return a.images.front() < b.images.front();
                     });
  }
  for (const SurveyFinding& finding : result.findings) {
    for (const std::size_t index : finding.images) {
      std::vector<std::size_t>& kinds = result.perImage[index].kinds;
      if (kinds.empty() || kinds.back() != finding.kind) kinds.push_back(finding.kind);
    }
  }
  return result;
}
