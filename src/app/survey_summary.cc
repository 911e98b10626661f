#include "app/survey_summary.h"

#include <cstddef>
#include <set>

#include "survey/survey_kinds.h"

namespace {

// Names shown per kind: enough to find the images, few enough for one line.
constexpr std::size_t kNamesShown = 3;

std::string label(const std::string& name) {
  const std::string text = "  " + name + ":";
  return text + std::string(text.size() < 17 ? 17 - text.size() : 1, ' ');
}

}  // namespace

void printSurveySummary(const SurveyResult& survey, const std::vector<std::string>& names,
                        Console& console) {
  // A batch the survey finds nothing in adds nothing to read.
  if (survey.findings.empty()) return;
  const std::size_t count = survey.findings.size();
  console.writeLine({own(label("survey")),
                     own(std::to_string(count) + (count == 1 ? " finding" : " findings"))});
  for (std::size_t kind = 0; kind < kSurveyKindCount; ++kind) {
    std::size_t found = 0;
    std::vector<std::size_t> shown;
    std::set<std::size_t> named;
    for (const SurveyFinding& finding : survey.findings) {
      if (finding.kind != kind) continue;
      ++found;
      for (const std::size_t index : finding.images) {
        if (shown.size() < kNamesShown && named.insert(index).second) shown.push_back(index);
      }
    }
    if (found == 0) continue;
    const std::string head = label(kSurveyKinds[kind].name) + std::to_string(found) + ": ";
    std::vector<Piece> pieces{own(head)};
    for (std::size_t k = 0; k < shown.size(); ++k) {
      if (k > 0) pieces.push_back(own(", "));
      pieces.push_back(outside(names[shown[k]]));
    }
    // More images named than shown.
    std::size_t total = 0;
    for (const SurveyFinding& finding : survey.findings) {
      if (finding.kind == kind) total += finding.images.size();
    }
    if (total > shown.size()) pieces.push_back(own(", ..."));
    console.writeLine(pieces);
  }
}
