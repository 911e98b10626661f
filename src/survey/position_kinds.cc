// The kinds that judge positions, names and moments: bad fixes and duplicates.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "survey/survey_kinds.h"
#include "survey/survey_text.h"
#include "common/numbers.h"

namespace {

// The images that stand for a position and are no null fix, sorted by position.
std::vector<std::size_t> byPosition(const SurveyContext& context) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < context.images.size(); ++i) {
    if (context.hasPosition(i) && context.standsForCapture(i) && !context.nullPosition[i]) {
      order.push_back(i);
    }
  }
  const SurveyImages& images = context.images;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return std::tie(*images[a].latitude, *images[a].longitude) <
           std::tie(*images[b].latitude, *images[b].longitude);
  });
  return order;
}

bool samePosition(const SurveyImage& a, const SurveyImage& b) {
  return *a.latitude == *b.latitude && *a.longitude == *b.longitude;
}

// Runs of equal elements in `order` under `same`: calls `run` with each run's bounds.
template <typename Same, typename Run>
void forEachRun(const std::vector<std::size_t>& order, Same same, Run run) {
  std::size_t begin = 0;
  for (std::size_t k = 1; k <= order.size(); ++k) {
    if (k < order.size() && same(order[begin], order[k])) continue;
    run(begin, k);
    begin = k;
  }
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The file name compared as tools that flatten folders compare it: ASCII letters
// without case.
std::string foldedName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

}  // namespace

void findPositionNull(const SurveyContext& context, std::size_t kind, SurveyResult& result) {
  SurveyFinding finding;
  finding.kind = kind;
  for (std::size_t i = 0; i < context.images.size(); ++i) {
    if (context.nullPosition[i]) finding.images.push_back(i);
  }
  if (finding.images.empty()) return;
  finding.detail = countText(finding.images.size(), "image has", "images have") +
                   " latitude and longitude 0, a fix the receiver did not have";
  result.findings.push_back(finding);
}

void findPositionRepeated(const SurveyContext& context, std::size_t kind, SurveyResult& result) {
  const SurveyImages& images = context.images;
  const std::vector<std::size_t> order = byPosition(context);
  const auto same = [&](std::size_t a, std::size_t b) { return samePosition(images[a], images[b]); };
  const bool allSame = order.size() >= 2 && same(order.front(), order.back());
  const double fewest = context.settings.repeatedCount;
  // Each run of equal positions that counts, then every image of its captures.
  std::vector<std::size_t> runOf(images.size(), 0);  // 1-based; 0: in no run
  std::vector<SurveyFinding> found;
  forEachRun(order, same, [&](std::size_t begin, std::size_t end) {
    const std::size_t count = end - begin;
    if (allSame ? count < 2 : static_cast<double>(count) < fewest) return;
    SurveyFinding finding;
    finding.kind = kind;
    finding.detail = countText(count, "capture", "captures") + " share one exact position" +
                     (allSame ? ", the only one in the batch" : "");
    finding.numbers.push_back({"captures", static_cast<double>(count), 0});
    found.push_back(finding);
    for (std::size_t k = begin; k < end; ++k) runOf[order[k]] = found.size();
  });
  for (std::size_t i = 0; i < images.size(); ++i) {
    const std::size_t run = runOf[context.capture[i]];
    if (run != 0) found[run - 1].images.push_back(i);
  }
  std::sort(found.begin(), found.end(), [](const SurveyFinding& a, const SurveyFinding& b) {
    return a.images.front() < b.images.front();
  });
  result.findings.insert(result.findings.end(), found.begin(), found.end());
}

void findPositionOutlier(const SurveyContext& context, std::size_t kind, SurveyResult& result) {
  for (std::size_t i = 0; i < context.images.size(); ++i) {
    if (!context.outlier[i]) continue;
    const double distance = *context.nearest[context.capture[i]];
    SurveyFinding finding;
    finding.kind = kind;
    finding.images.push_back(i);
    finding.detail = "the nearest other image is " + decimalText(distance, 0) +
                     " m away, while half of the images have one within " +
                     decimalText(context.medianNearest, 1) + " m";
    finding.numbers.push_back({"distance_m", distance, 0});
    finding.numbers.push_back({"median_nearest_m", context.medianNearest, 1});
    result.findings.push_back(finding);
  }
}

void findNameCollision(const SurveyContext& context, std::size_t kind, SurveyResult& result) {
  const SurveyImages& images = context.images;
  std::vector<std::pair<std::string, std::size_t>> names;
  names.reserve(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) names.emplace_back(foldedName(images[i].path), i);
  std::sort(names.begin(), names.end());
  std::vector<std::size_t> order;
  for (const auto& name : names) order.push_back(name.second);
  std::vector<SurveyFinding> found;
  std::size_t begin = 0;
  for (std::size_t k = 1; k <= names.size(); ++k) {
    if (k < names.size() && names[k].first == names[begin].first) continue;
    std::set<std::string> folders;
    for (std::size_t j = begin; j < k; ++j) folders.insert(folderOf(images[names[j].second].path));
    if (folders.size() >= 2) {
      SurveyFinding finding;
      finding.kind = kind;
      for (std::size_t j = begin; j < k; ++j) finding.images.push_back(names[j].second);
      std::sort(finding.images.begin(), finding.images.end());
      finding.detail = "the same file name in " + countText(folders.size(), "folder", "folders") +
                       "; a tool that puts all images in one folder keeps only one";
      found.push_back(finding);
    }
    begin = k;
  }
  // In list order of their first image, as every other kind.
  std::sort(found.begin(), found.end(), [](const SurveyFinding& a, const SurveyFinding& b) {
    return a.images.front() < b.images.front();
  });
  result.findings.insert(result.findings.end(), found.begin(), found.end());
}

void findDuplicateFrame(const SurveyContext& context, std::size_t kind, SurveyResult& result) {
  const SurveyImages& images = context.images;
  std::vector<std::size_t> order;
  for (const std::size_t i : byPosition(context)) {
    if (images[i].time) order.push_back(i);
  }
  const auto key = [&](std::size_t i) {
    return std::make_tuple(images[i].time->seconds, *images[i].latitude, *images[i].longitude);
  };
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
  forEachRun(
      order, [&](std::size_t a, std::size_t b) { return key(a) == key(b); },
      [&](std::size_t begin, std::size_t end) {
        if (end - begin < 2) return;
        // Within one second and position: images whose sub-seconds differ are apart;
        // one without sub-seconds matches every other.
        std::map<double, std::vector<std::size_t>> byFraction;
        std::vector<std::size_t> unknown;
        for (std::size_t k = begin; k < end; ++k) {
          const std::optional<double>& fraction = images[order[k]].time->fraction;
          if (fraction) {
            byFraction[*fraction].push_back(order[k]);
          } else {
            unknown.push_back(order[k]);
          }
        }
        std::vector<std::vector<std::size_t>> groups;
        if (!unknown.empty()) {
          groups.emplace_back(order.begin() + static_cast<std::ptrdiff_t>(begin),
                              order.begin() + static_cast<std::ptrdiff_t>(end));
        } else {
          for (const auto& entry : byFraction) groups.push_back(entry.second);
        }
        for (std::vector<std::size_t>& group : groups) {
          if (group.size() < 2) continue;
          std::sort(group.begin(), group.end());
          SurveyFinding finding;
          finding.kind = kind;
          finding.images = group;
          finding.detail = countText(group.size(), "capture", "captures") +
                           " with the same time and position: one frame written twice";
          result.findings.push_back(finding);
        }
      });
}
