#include "app/survey_summary.h"

#include <cstddef>
#include <algorithm>
#include <set>

#include "app/people_line.h"
#include "app/run_summary.h"
#include "survey/survey_kinds.h"

namespace {

// Names shown per kind: enough to find the images, few enough for one line.
constexpr std::size_t kSurveyNamesShown = 3;

PeopleLine labelled(const std::string& label) {
  PeopleLine line;
  line.own("  ").own(label).own(":").padTo(kValueColumn);
  return line;
}

}  // namespace

void printSurveySummary(const SurveyResult& survey, const std::vector<std::string>& names,
                        Console& console) {
  // A batch the survey finds nothing in adds nothing to read.
  if (survey.findings.empty()) return;
  const std::size_t count = survey.findings.size();
  labelled("survey")
      .own(std::to_string(count) + (count == 1 ? " finding" : " findings"), Tint::bad)
      .writeTo(console);
  for (std::size_t kind = 0; kind < kSurveyKindCount; ++kind) {
    std::size_t found = 0;
    std::vector<std::size_t> shown;
    std::set<std::size_t> named;
    for (const SurveyFinding& finding : survey.findings) {
      if (finding.kind != kind) continue;
      ++found;
      for (const std::size_t index : finding.images) named.insert(index);
      for (const std::size_t index : finding.images) {
        if (shown.size() < kSurveyNamesShown &&
            std::find(shown.begin(), shown.end(), index) == shown.end()) {
          shown.push_back(index);
        }
      }
    }
    if (found == 0) continue;
    PeopleLine line = labelled(std::string("  ") + kSurveyKinds[kind].name);
    line.own(std::to_string(found) + ": ");
    for (std::size_t k = 0; k < shown.size(); ++k) {
      if (k > 0) line.own(", ");
      line.outside(names[shown[k]]);
    }
    if (named.size() > shown.size()) line.own(", ...");
    line.writeTo(console);
  }
}
