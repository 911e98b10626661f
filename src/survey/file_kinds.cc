// The kinds that judge a file against itself.
#include "survey/survey_kinds.h"
#include "survey/survey_text.h"

void findSizeMismatch(const SurveyContext& context, std::size_t kind, SurveyResult& result) {
  SurveyFinding finding;
  finding.kind = kind;
  for (std::size_t i = 0; i < context.images.size(); ++i) {
    if (context.images[i].parsed && context.images[i].sizeMismatch) finding.images.push_back(i);
  }
  if (finding.images.empty()) return;
  // Processing tools take the size from the tags: an edited copy that kept them is read
  // with the wrong camera geometry.
  finding.detail = countText(finding.images.size(), "image has", "images have") +
                   " an EXIF pixel size that is missing or differs from the frame it holds, "
                   "as an edited or resized copy has";
  result.findings.push_back(finding);
}
