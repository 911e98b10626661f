#include "scan/image_scan.h"

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "common/messages.h"
#include "platform/platform.h"
#include "scan/ignore_pattern.h"

namespace {

// Every folder listed so far in this scan, by its identity on its volume. A folder
// reached again through a link is not listed again: a link back into an ancestor
// would recurse without end, and links from many places into one folder multiply the
// listing (a chain of folders that each hold two links to the next is 2^n listings).
using ListedFolders = std::set<std::pair<std::uint64_t, std::uint64_t>>;

// The program's own files: each named so, in the folder of that identity.
struct OwnFiles {
  struct InFolder {
    platform::FolderId folder;
    std::string name;
  };
  std::vector<InFolder> files;

  // The names of own files in the folder `id`; most folders hold none.
  std::vector<const std::string*> namedIn(const platform::FolderId& id) const {
    std::vector<const std::string*> names;
    for (const InFolder& file : files) {
      const platform::FolderId& folder = file.folder;
      if (folder.known && id.known && folder.volume == id.volume && folder.index == id.index) {
        names.push_back(&file.name);
      }
    }
    return names;
  }
};

bool isOneOf(const std::string& entry, const std::vector<const std::string*>& names) {
  for (const std::string* name : names) {
    if (platform::namesSameFile(entry, *name) || platform::isTemporaryName(entry, *name)) {
      return true;
    }
  }
  return false;
}

bool ignored(const std::vector<std::string>& patterns, const std::string& below) {
  for (const std::string& pattern : patterns) {
    if (matchesIgnorePattern(pattern, below)) return true;
  }
  return false;
}

// What a scan carries down the folders.
struct ScanRules {
  const OwnFiles& ownFiles;
  const std::vector<std::string>& ignore;
};

// `below` is the folder's path below the input folder, "" for itself.
void scanInto(const std::string& folder, const platform::NativePath& native,
              const std::string& below, const ScanRules& rules, ListedFolders& listed,
              ScannedImages& images, Console& console) {
  platform::FolderListing listing;
  if (!platform::listFolder(folder, native, listing)) {
    console.writeLine({own(messages::kCanNotFoundFile)});
    return;
  }
  if (listing.id.known && !listed.insert({listing.id.volume, listing.id.index}).second) return;
  const std::vector<const std::string*> ownNames = rules.ownFiles.namedIn(listing.id);
  for (const platform::FolderEntry& entry : listing.entries) {
    const auto entryBelow = [&] { return below.empty() ? entry.name : below + "/" + entry.name; };
    if (!entry.isFolder) {
      if (!ownNames.empty() && isOneOf(entry.name, ownNames)) continue;
      if (!rules.ignore.empty() && ignored(rules.ignore, entryBelow())) continue;
      images.paths.push_back(platform::joinPath(folder, entry.name));
      images.native.push_back(entry.path);
    } else if (entry.name != "." && entry.name != "..") {
      scanInto(platform::joinPath(folder, entry.name), entry.path, entryBelow(), rules, listed,
               images, console);
    }
  }
}

}  // namespace

ScannedImages scanImageFolder(const std::string& folder, const std::vector<OwnFile>& ownFiles,
                              Console& console, const std::vector<std::string>& ignore) {
  ScannedImages images;
  ListedFolders listed;
  OwnFiles own;
  for (const OwnFile& file : ownFiles) {
    own.files.push_back({platform::folderIdOf(file.folder), file.name});
  }
  scanInto(folder, platform::nativePathOf(folder), "", ScanRules{own, ignore}, listed, images,
           console);
  return images;
}
