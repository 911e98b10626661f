#include "report/page_survey.h"

#include <gtest/gtest.h>

#include "survey/survey.h"
#include "survey/survey_kinds.h"

namespace {

// Each kind with its sentence and every image it names, a kind that could not be
// computed with the reason; text from the batch as text.
TEST(PageSurvey, FindingsNameTheirImagesAndKindsSayWhyTheyWereNotComputed) {
  SurveyResult survey;
  survey.images = 4;
  survey.flights.push_back(SurveyFlight{0, 3, 4, "2024-05-01T10:00:00", 120.0});
  const std::size_t gap = surveyKindNamed("overlap-gap");
  const std::size_t blur = surveyKindNamed("motion-blur-risk");
  survey.findings.push_back(
      SurveyFinding{gap, {1, 2, 3}, "overlap <b>42%</b>", {{"overlap", 0.42, 2}}});
  survey.notComputed.push_back(NotComputed{blur, "no exposure <time>"});
  survey.perImage.resize(4);
  for (std::size_t index = 1; index < 4; ++index) survey.perImage[index].kinds = {gap};
  const std::vector<std::string> names = {"f0.jpg", "f1.jpg", "<i>f2.jpg", "f3.jpg"};

  std::string page;
  appendSurveySection(survey, names, page);
  EXPECT_NE(page.find("<p>overlap &lt;b&gt;42%&lt;/b&gt; <span class=\"number\">overlap "
                      "0.42</span></p><pre class=\"names\">f1.jpg\n&lt;i&gt;f2.jpg\nf3.jpg\n"
                      "</pre>"),
            std::string::npos);
  EXPECT_NE(page.find("Not computed: no exposure &lt;time&gt;"), std::string::npos);
  EXPECT_NE(page.find("flight 1: 4 images, from 2024-05-01T10:00:00, median height 120 m"),
            std::string::npos);
  EXPECT_NE(page.find("<h3 id=\"survey-position-null\">position-null <small>(latitude and "
                      "longitude both 0)</small></h3><p>None found.</p>"),
            std::string::npos);

  std::string verdict;
  appendSurveyVerdict(survey, verdict);
  EXPECT_EQ(verdict, "<li><a href=\"#survey-overlap-gap\">overlap-gap</a> (survey): 3 images "
                     "named</li>");

  EXPECT_FALSE(surveyMarksOf(survey, 0).named);
  EXPECT_TRUE(surveyMarksOf(survey, 2).named);
  EXPECT_TRUE(surveyMarksOf(survey, 2).gap);
  EXPECT_FALSE(surveyMarksOf(survey, 9).named);
}

}  // namespace
