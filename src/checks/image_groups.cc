#include "checks/image_groups.h"

#include "checks/image_checker.h"
#include "common/console.h"
#include "common/messages.h"
#include "platform/platform.h"

ImageGroups groupImages(const ImageList& images, const char* progressText, KeyOf keyOf) {
  writeLine("");
  writeLine(messages::kNumberOfImages + std::to_string(images.size()));
  ImageGroups groups;
  std::size_t counter = 0;
  for (const std::string& path : images) {
    ++counter;
    writeLine(progressText + std::to_string(counter) + messages::kProgressArrow +
              ImageChecker::fileNameOf(path));
    ExifMetadata metadata;
    ExifStatus status = ExifStatus::notJpeg;
    const bool read = platform::parseImageFile(
        path, [&](const unsigned char* data, std::uint32_t length) {
          status = metadata.parseJpeg(data, length);
        });
    if (!read) continue;
    std::optional<std::string> key = kErrorKey;
    if (status == ExifStatus::ok) key = keyOf(metadata);
    if (key) groups[*key].push_back(path);
  }
  return groups;
}

void listGroup(const std::string& key, const std::vector<std::string>& paths) {
  writeLine(key);
  writeLine(std::to_string(paths.size()));
  writeLine("");
}

void reportImages(const std::vector<std::string>& paths, std::vector<std::string>& list,
                  bool& flag) {
  writeLine(messages::kOffendingCount + std::to_string(paths.size()));
  std::size_t counter = 0;
  for (const std::string& path : paths) {
    ++counter;
    writeLine(messages::kOffendingNumber + std::string(messages::kOffendingNumberArrow) +
              std::to_string(counter));
    std::string name = ImageChecker::fileNameOf(path);
    list.push_back(name);
    flag = true;
    writeLine(messages::kOffendingName + std::string(messages::kOffendingNameArrow) + name);
  }
}

void reportErrorGroup(ImageGroups& groups, std::vector<std::string>& list, bool& flag) {
  auto errors = groups.find(kErrorKey);
  if (errors == groups.end()) return;
  listGroup(errors->first, errors->second);
  reportImages(errors->second, list, flag);
  groups.erase(errors);
}

void reportInconsistentGroups(const ImageGroups& groups, std::vector<std::string>& list,
                              bool& flag) {
  const std::vector<std::string>* reference = nullptr;
  for (const auto& [key, paths] : groups) {
    listGroup(key, paths);
    if (reference == nullptr || paths.size() > reference->size()) reference = &paths;
  }
  std::vector<std::string> offending;
  for (const auto& [key, paths] : groups) {
    if (&paths != reference) offending.insert(offending.end(), paths.begin(), paths.end());
  }
  reportImages(offending, list, flag);
}

void reportGroupsWithKey(const ImageGroups& groups, const std::string& offendingKey,
                         std::vector<std::string>& list, bool& flag) {
  for (const auto& [key, paths] : groups) {
    listGroup(key, paths);
    if (key == offendingKey || key == kErrorKey) reportImages(paths, list, flag);
  }
}
