#include "scan/image_scan.h"

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "common/messages.h"
#include "platform/platform.h"

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

void scanInto(const std::string& folder, const platform::NativePath& native,
              const OwnFiles& ownFiles, ListedFolders& listed, ScannedImages& images,
              Console& console) {
  platform::FolderListing listing;
  if (!platform::listFolder(folder, native, listing)) {
    console.writeLine({own(messages::kCanNotFoundFile)});
    return;
  }
  if (listing.id.known && !listed.insert({listing.id.volume, listing.id.index}).second) return;
  const std::vector<const std::string*> ownNames = ownFiles.namedIn(listing.id);
  for (const platform::FolderEntry& entry : listing.entries) {
    if (!entry.isFolder) {
      if (!ownNames.empty() && isOneOf(entry.name, ownNames)) continue;
      images.paths.push_back(platform::joinPath(folder, entry.name));
      images.native.push_back(entry.path);
    } else if (entry.name != "." && entry.name != "..") {
      scanInto(platform::joinPath(folder, entry.name), entry.path, ownFiles, listed, images,
               console);
    }
  }
}

}  // namespace

ScannedImages scanImageFolder(const std::string& folder, const std::vector<OwnFile>& ownFiles,
                              Console& console) {
  ScannedImages images;
  ListedFolders listed;
  OwnFiles own;
  for (const OwnFile& file : ownFiles) {
    own.files.push_back({platform::folderIdOf(file.folder), file.name});
  }
  scanInto(folder, platform::nativePathOf(folder), own, listed, images, console);
  return images;
}
