#include "checks/image_groups.h"

#include "checks/file_name.h"
#include "common/messages.h"

namespace {

// Adds image `index` to the group of its key, if it has one.
void addToGroup(const ImageRecord& record, std::size_t index, KeyOf keyOf, ImageGroups& groups) {
  if (!record.read()) return;
  std::optional<std::string> key = kErrorKey;
  if (record.parsed()) key = keyOf(record);
  if (key) groups[*key].push_back(index);
}

}  // namespace

ImageGroups groupsOf(ImageRecords& images, KeyOf keyOf) {
  ImageGroups groups;
  for (std::size_t index = 0; index < images.size(); ++index) {
    addToGroup(images.record(index), index, keyOf, groups);
  }
  return groups;
}

ImageGroups::const_iterator referenceGroup(const ImageGroups& groups) {
  auto reference = groups.end();
  for (auto group = groups.begin(); group != groups.end(); ++group) {
    if (group->first == kErrorKey) continue;
    if (reference == groups.end() || group->second.size() > reference->second.size()) {
      reference = group;
    }
  }
  return reference;
}

ImageGroups groupImages(CheckRun& run, const char* progressText, KeyOf keyOf) {
  run.console.writeLine({});
  run.console.writeLine({own(messages::kNumberOfImages), own(std::to_string(run.images.size()))});
  ImageGroups groups;
  for (std::size_t index = 0; index < run.images.size(); ++index) {
    run.console.writeLine({own(progressText), own(std::to_string(index + 1)),
                           own(messages::kProgressArrow),
                           outside(fileNameOf(run.images.path(index)))});
    addToGroup(run.images.record(index), index, keyOf, groups);
  }
  return groups;
}

void listGroup(CheckRun& run, const std::string& key, const std::vector<std::size_t>& group) {
  if (run.showKey != nullptr && key != kErrorKey && !group.empty()) {
    run.showKey(run.images, group.front(), run.console);
  } else {
    run.console.writeLine({outside(key)});
  }
  run.console.writeLine({own(std::to_string(group.size()))});
  run.console.writeLine({});
}

void reportImages(CheckRun& run, const std::vector<std::size_t>& group) {
  run.console.writeLine({own(messages::kOffendingCount), own(std::to_string(group.size()))});
  std::size_t counter = 0;
  for (std::size_t index : group) {
    ++counter;
    run.console.writeLine({own(messages::kOffendingNumber), own(messages::kOffendingNumberArrow),
                           own(std::to_string(counter))});
    run.offending.push_back(index);
    run.console.writeLine({own(messages::kOffendingName), own(messages::kOffendingNameArrow),
                           outside(fileNameOf(run.images.path(index)))});
  }
}

void reportErrorGroup(CheckRun& run, ImageGroups& groups) {
  auto errors = groups.find(kErrorKey);
  if (errors == groups.end()) return;
  listGroup(run, errors->first, errors->second);
  reportImages(run, errors->second);
  groups.erase(errors);
}

void reportInconsistentGroups(CheckRun& run, const ImageGroups& groups) {
  for (const auto& [key, group] : groups) listGroup(run, key, group);
  const auto reference = referenceGroup(groups);
  std::vector<std::size_t> others;
  for (auto group = groups.begin(); group != groups.end(); ++group) {
    if (group != reference) others.insert(others.end(), group->second.begin(), group->second.end());
  }
  reportImages(run, others);
}

void reportGroupsWithKey(CheckRun& run, const ImageGroups& groups,
                         const std::string& offendingKey) {
  for (const auto& [key, group] : groups) {
    listGroup(run, key, group);
    if (key == offendingKey || key == kErrorKey) reportImages(run, group);
  }
}

Offending consistencyCheck(const Check& check, ImageRecords& images, Console& console) {
  CheckRun run{images, console, {}, check.showKey};
  ImageGroups groups = groupImages(run, check.progressText, check.keyOf);
  reportErrorGroup(run, groups);
  reportInconsistentGroups(run, groups);
  return run.offending;
}

Offending offendingKeyCheck(const Check& check, ImageRecords& images, Console& console) {
  CheckRun run{images, console, {}, check.showKey};
  reportGroupsWithKey(run, groupImages(run, check.progressText, check.keyOf), check.offendingKey);
  return run.offending;
}
