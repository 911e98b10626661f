#include "app/not_images.h"

#include <algorithm>

#include "app/error_line.h"
#include "platform/platform.h"

namespace {

// Enough names to recognise the files by; a folder of a thousand logs gets a count.
constexpr std::size_t kNamesShown = 5;
constexpr std::size_t kPatternsShown = 5;

std::string nameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A pattern goes between double quotes on every shell we know, so it may hold only
// characters no shell expands there.
bool plainWord(const std::string& word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '.' || c == '_' || c == '-';
  });
}

// An extension that photographs have: a pattern of it would leave out the batch.
bool imageExtension(std::string extension) {
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  for (const char* image : {".jpg", ".jpeg", ".jpe", ".tif", ".tiff", ".dng"}) {
    if (extension == image) return true;
  }
  return false;
}

// The pattern that leaves out files like this one at any depth: by its extension, by
// its whole name when it has none, all AppleDouble files by their prefix. Only for the
// files drones and systems leave beside photographs; a text file may be anything.
std::string patternFor(const NotImages::File& file) {
  if (file.kind == FileKind::text) return "";
  if (file.kind == FileKind::appleDouble) return "**/._*";
  const std::string name = nameOf(file.path);
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot == 0) return plainWord(name) ? "**/" + name : "";
  const std::string extension = name.substr(dot);
  return plainWord(extension) && !imageExtension(extension) ? "**/*" + extension : "";
}

}  // namespace

NotImages findNotImages(ImageRecords& images, const std::string& inputFolder) {
  NotImages found;
  for (std::size_t index = 0; index < images.size(); ++index) {
    const ImageRecord& record = images.record(index);
    if (!record.read() || isImage(record.kind) || record.kind == FileKind::unknown) continue;
    found.files.push_back({platform::pathInside(inputFolder, images.path(index)), record.kind});
  }
  return found;
}

std::string notImagesLine(const NotImages& found) {
  const std::size_t count = found.files.size();
  if (count == 0) return "";
  std::string line = count == 1 ? "1 file below the input folder is not an image: "
                                 : std::to_string(count) +
                                       " files below the input folder are not images: ";
  for (std::size_t i = 0; i < count && i < kNamesShown; ++i) {
    if (i > 0) line += ", ";
    line += oneLine(found.files[i].path) + " (" + describe(found.files[i].kind) + ")";
  }
  if (count > kNamesShown) line += " and " + std::to_string(count - kNamesShown) + " more";
  return line;
}

std::string ignoreOptions(const NotImages& found) {
  std::vector<std::string> patterns;
  for (const NotImages::File& file : found.files) {
    const std::string pattern = patternFor(file);
    if (pattern.empty() || std::find(patterns.begin(), patterns.end(), pattern) != patterns.end()) {
      continue;
    }
    patterns.push_back(pattern);
    if (patterns.size() == kPatternsShown) break;
  }
  std::string options;
  for (const std::string& pattern : patterns) {
    options += std::string(options.empty() ? "" : " ") + "--ignore \"" + pattern + "\"";
  }
  return options;
}
