// The steps the four checks are built from: load and key every image, list the
// groups of equal keys, and report the offending images.
#ifndef PRECHECK_CHECKS_IMAGE_GROUPS_H_
#define PRECHECK_CHECKS_IMAGE_GROUPS_H_

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "exif/exif_metadata.h"
#include "scan/image_list.h"

// Full paths by key, keys in byte order, paths in the order of the image list.
using ImageGroups = std::map<std::string, std::vector<std::string>>;

// The key of every image whose EXIF block cannot be read, whatever the check.
inline constexpr char kErrorKey[] = "error";

// A check's key for an image that parsed; no key leaves the image out of every group.
using KeyOf = std::optional<std::string> (*)(const ExifMetadata& metadata);

// Prints the check header and one progress line per image, reads and parses each
// image and groups it by its key. Images that cannot be read are in no group.
ImageGroups groupImages(const ImageList& images, const char* progressText, KeyOf keyOf);

// Prints a group: its key, its size, an empty line.
void listGroup(const std::string& key, const std::vector<std::string>& paths);

// Prints the report block for `paths` and appends their file names to `list`.
void reportImages(const std::vector<std::string>& paths, std::vector<std::string>& list,
                  bool& flag);

// Lists and reports the "error" group, if any, and removes it from `groups`.
void reportErrorGroup(ImageGroups& groups, std::vector<std::string>& list, bool& flag);

// Lists every group, then reports, in one block, every image outside the largest group
// (of equal sizes the one whose key comes first).
void reportInconsistentGroups(const ImageGroups& groups, std::vector<std::string>& list,
                              bool& flag);

// Lists every group and reports each one whose key is `offendingKey` or "error".
void reportGroupsWithKey(const ImageGroups& groups, const std::string& offendingKey,
                         std::vector<std::string>& list, bool& flag);

#endif  // PRECHECK_CHECKS_IMAGE_GROUPS_H_
