#include "app/run_summary.h"

#include "app/people_line.h"
#include "app/people_texts.h"
#include "app/survey_part.h"

namespace {

// "  label:" and blanks up to the values.
PeopleLine labelled(const char* label) {
  PeopleLine line;
  line.own("  ").own(label).own(":").padTo(kValueColumn);
  return line;
}

// Where a file went, or that it could not be written.
void printFileLine(Console& console, Language language, const char* name, bool written,
                   const std::string& path) {
  labelled(name)
      .own(textIn(written ? texts::kWrittenTo : texts::kNotWrittenTo, language))
      .outside(path)
      .writeTo(console);
}

const Bilingual& verdictText(const RunSummary& summary) {
  switch (summary.verdict) {
    case Verdict::passed:
      return summary.checks.anyRan() ? texts::kPassed : texts::kPassedButNoCheck;
    case Verdict::offending:
      return texts::kNotPassedOffending;
    case Verdict::noImages:
      break;
  }
  return texts::kNotPassedNoImages;
}

// One thing to do next: when it applies, its text and what it names, if anything.
struct NextStep {
  bool (*applies)(const RunSummary& summary);
  Bilingual text;
  const std::string* (*names)(const RunSummary& summary);
};

const std::string* reportPath(const RunSummary& summary) { return &summary.reportPath; }
const std::string* inputFolder(const RunSummary& summary) { return &summary.inputFolder; }
const std::string* ignoreOptions(const RunSummary& summary) { return &summary.ignoreOptions; }

// In the order they are printed; adding a hint is a row.
const NextStep kNextSteps[] = {
    {[](const RunSummary& s) { return s.verdict == Verdict::offending && s.reportWritten; },
     texts::kLookAtOffending, reportPath},
    {[](const RunSummary& s) { return s.verdict != Verdict::passed && !s.reportWritten; },
     texts::kCheckOutputFolder, reportPath},
    {[](const RunSummary& s) { return s.verdict == Verdict::noImages; }, texts::kCheckInputFolder,
     inputFolder},
    {[](const RunSummary& s) { return s.unreadable > 0; }, texts::kUnreadableOnStandardError,
     nullptr},
    {[](const RunSummary& s) { return !s.checks.anyRan(); }, texts::kSwitchAChecksOn, nullptr},
    {[](const RunSummary& s) { return !s.ignoreOptions.empty(); }, texts::kIgnoreNotImages,
     ignoreOptions},
    {[](const RunSummary& s) { return !s.tableAsked && s.images > 0; }, texts::kAskForTable,
     nullptr},
    {[](const RunSummary& s) { return !s.pageAsked && s.images > 0; }, texts::kAskForPage,
     nullptr},
    {[](const RunSummary& s) { return s.survey != nullptr && s.survey->anyFindings(); },
     texts::kLookAtSurvey, nullptr},
    {[](const RunSummary& s) {
       return s.verdict == Verdict::passed && s.checks.anyRan() && s.unreadable == 0 &&
              (s.survey == nullptr || !s.survey->anyFindings());
     },
     texts::kReadyForProcessing, nullptr},
};

}  // namespace

void printSummary(const RunSummary& summary, const Reader& reader, Console& console) {
  const Language language = reader.language;
  console.writeLine({});
  console.writeLine({own(textIn(texts::kSummary, language))});
  labelled(textIn(texts::kNotReadable, language))
      .own(counted(texts::kFiles, language, summary.unreadable))
      .writeTo(console);
  labelled(textIn(texts::kVerdict, language))
      .own(textIn(verdictText(summary), language),
           summary.verdict == Verdict::passed ? Tint::good : Tint::bad)
      .own(fill(textIn(texts::kExitCode, language), {std::to_string(summary.exitCode)}))
      .writeTo(console);
  if (summary.verdict == Verdict::passed) {
    labelled("error.json").own(textIn(texts::kReportNotNeeded, language)).writeTo(console);
  } else {
    printFileLine(console, language, "error.json", summary.reportWritten, summary.reportPath);
  }
  for (const RunSummary::AskedFile& file : summary.askedFiles) {
    printFileLine(console, language, file.what, file.written, file.path);
  }
  printSurveyPart(summary, reader, console);
  console.writeLine({own(textIn(texts::kNext, language))});
  for (const NextStep& step : kNextSteps) {
    if (!step.applies(summary)) continue;
    PeopleLine line;
    line.own("  ").own(textIn(step.text, language));
    if (step.names != nullptr) line.outside(*step.names(summary));
    line.writeTo(console);
  }
}
