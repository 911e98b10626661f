#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/people_line.h"
#include "app/people_texts.h"
#include "app/run_summary.h"
#include "checks/image_groups.h"

namespace {

// Groups shown on a line, the reference first; the rest are counted.
constexpr std::size_t kGroupsShown = 5;

// A key as people read it (see KeyShown).
void appendKey(const Check& check, const std::string& key, const Reader& reader,
               PeopleLine& line) {
  if (check.keyShown == KeyShown::widthByHeight) {
    std::string shown = key;
    const std::size_t times = shown.find('*');
    // × in GBK
    if (times != std::string::npos) shown.replace(times, 1, reader.asciiOnly ? "x" : "\xa1\xc1");
    line.own(shown);
    return;
  }
  const std::size_t end = key.find('\0');
  line.outside(std::string_view(key).substr(0, end));
  if (end != std::string::npos) line.own(" ...");
}

void appendGroup(const Check& check, const std::string& key, std::size_t size,
                 const Reader& reader, PeopleLine& line) {
  appendKey(check, key, reader, line);
  line.own(counted(texts::kGroupSize, reader.language, size));
}

// "reference: 5472×3648, 996 images; 4000×3000, 4 images; EXIF not readable, 1 image".
void printGroups(const Check& check, const ImageGroups& groups, const Reader& reader,
                 Console& console) {
  const Language language = reader.language;
  PeopleLine line;
  line.own("  ").own(textIn(texts::kGroups, language)).own(":").padTo(kValueColumn);
  const auto reference = referenceGroup(groups);
  std::vector<ImageGroups::const_iterator> others;
  for (auto group = groups.begin(); group != groups.end(); ++group) {
    if (group != reference && group->first != kErrorKey) others.push_back(group);
  }
  std::stable_sort(others.begin(), others.end(), [](const auto& a, const auto& b) {
    return a->second.size() > b->second.size();
  });
  bool first = true;
  auto separate = [&] {
    if (!first) line.own(textIn(texts::kNextGroup, language));
    first = false;
  };
  if (reference != groups.end()) {
    separate();
    line.own(textIn(texts::kReference, language));
    appendGroup(check, reference->first, reference->second.size(), reader, line);
  }
  const std::size_t shown = std::min(others.size(), kGroupsShown - 1);
  for (std::size_t i = 0; i < shown; ++i) {
    separate();
    appendGroup(check, others[i]->first, others[i]->second.size(), reader, line);
  }
  const auto errors = groups.find(kErrorKey);
  if (errors != groups.end()) {
    separate();
    line.own(textIn(texts::kExifNotReadable, language))
        .own(counted(texts::kGroupSize, language, errors->second.size()));
  }
  if (others.size() > shown) {
    separate();
    line.own(counted(texts::kMoreGroups, language, others.size() - shown));
  }
  if (!first) line.writeTo(console);
}

// The images a check named: every one up to kNamesShown, else the first ones and where
// the full list is.
void printNames(const Offending& offending, const RunSummary& summary, ImageRecords& images,
                const Reader& reader, Console& console) {
  const Language language = reader.language;
  const std::size_t shown = std::min(offending.size(), kNamesShown);
  for (std::size_t i = 0; i < shown; ++i) {
    PeopleLine line;
    if (i == 0) line.own("  ").own(textIn(texts::kOffending, language)).own(":");
    line.padTo(kValueColumn).outside(images.path(offending[i]), Tint::bad);
    line.writeTo(console);
  }
  if (offending.size() == shown) return;
  PeopleLine more;
  more.padTo(kValueColumn);
  const std::size_t rest = offending.size() - shown;
  if (summary.reportWritten) {
    more.own(counted(texts::kMoreImagesIn, language, rest)).outside(summary.reportPath);
  } else {
    more.own(counted(texts::kMoreImagesNowhere, language, rest));
  }
  more.writeTo(console);
}

void printCheck(const Check& check, const std::optional<Offending>& offending,
                const RunSummary& summary, ImageRecords& images, const Reader& reader,
                Console& console) {
  const Language language = reader.language;
  PeopleLine line;
  line.own(textIn(check.title, language)).own(":").padTo(kValueColumn);
  if (!offending) {
    line.own(textIn(texts::kNotRun, language)).writeTo(console);
    return;
  }
  if (offending->empty()) {
    line.own(textIn(texts::kPassed, language), Tint::good)
        .own(textIn(texts::kComma, language))
        .own(counted(texts::kImages, language, images.size()));
  } else {
    line.own(textIn(texts::kNotPassed, language), Tint::bad)
        .own(textIn(texts::kComma, language))
        .own(counted(texts::kOffendingOf, language, offending->size(), images.size()))
        .own(textIn(texts::kComma, language))
        .own(textIn(check.offence, language));
  }
  line.writeTo(console);
  if (check.kind == CheckKind::consistency) {
    printGroups(check, groupsOf(images, check.keyOf), reader, console);
  }
  printNames(*offending, summary, images, reader, console);
}

}  // namespace

void printCheckResults(const RunSummary& summary, ImageRecords& images, const Reader& reader,
                       Console& console) {
  console.writeLine({});
  for (std::size_t row = 0; row < kCheckCount; ++row) {
    printCheck(kChecks[row], summary.checks.byCheck[row], summary, images, reader, console);
  }
}
