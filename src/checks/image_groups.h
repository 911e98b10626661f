// The steps the checks are built from: key every image, list the groups of equal
// keys, and report the offending images.
#ifndef PRECHECK_CHECKS_IMAGE_GROUPS_H_
#define PRECHECK_CHECKS_IMAGE_GROUPS_H_

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "checks/checks.h"
#include "common/console.h"
#include "load/image_records.h"

// Images by key, keys in byte order, each group in list order; an image is its index
// into the run's images.
using ImageGroups = std::map<std::string, std::vector<std::size_t>>;

// The key of every image whose EXIF block cannot be read, whatever the check.
inline constexpr char kErrorKey[] = "error";

// One check being run: where it prints, and what it has reported so far.
struct CheckRun {
  ImageRecords& images;
  Console& console;
  Offending offending;
  ShowKey showKey = nullptr;
};

// Prints the check header and one progress line per image, takes each image's record
// and groups the image by its key. Images that could not be read are in no group.
ImageGroups groupImages(CheckRun& run, const char* progressText, KeyOf keyOf);

// The groups that groupImages makes, without printing anything: for a terminal, which
// shows a check's result once it has run.
ImageGroups groupsOf(ImageRecords& images, KeyOf keyOf);

// The group a consistency check compares the others with: the largest but "error", of
// equal sizes the one whose key comes first; end() when there is none.
ImageGroups::const_iterator referenceGroup(const ImageGroups& groups);

// Prints a group: its key, its size, an empty line.
void listGroup(CheckRun& run, const std::string& key, const std::vector<std::size_t>& group);

// Prints the report block for `group` and adds its images to the offending ones.
void reportImages(CheckRun& run, const std::vector<std::size_t>& group);

// Lists and reports the "error" group, if any, and removes it from `groups`.
void reportErrorGroup(CheckRun& run, ImageGroups& groups);

// Lists every group, then reports, in one block, every image outside the largest group
// (of equal sizes the one whose key comes first).
void reportInconsistentGroups(CheckRun& run, const ImageGroups& groups);

// Lists every group and reports each one whose key is `offendingKey` or "error".
void reportGroupsWithKey(CheckRun& run, const ImageGroups& groups, const std::string& offendingKey);

// The two kinds of check. Resolution and camera make compare the images with each
// other: the "error" group, then every image outside the largest group. Focal length
// and GPS judge each image alone: every group whose key is `offendingKey` or "error".
Offending consistencyCheck(const Check& check, ImageRecords& images, Console& console);
Offending offendingKeyCheck(const Check& check, ImageRecords& images, Console& console);

#endif  // PRECHECK_CHECKS_IMAGE_GROUPS_H_
