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

// The program's own files: named so, in the folder of that identity.
struct OwnFiles {
  platform::FolderId folder;
  const std::string& name;

  bool in(const platform::FolderId& id) const {
    return folder.known && id.known && folder.volume == id.volume && folder.index == id.index;
  }
  bool named(const std::string& entry) const {
    return platform::namesSameFile(entry, name) || platform::isTemporaryName(entry, name);
  }
};

void scanInto(const std::string& folder, const platform::NativePath& native,
              const OwnFiles& ownFiles, ListedFolders& listed, ScannedImages& images,
              Console& console) {
  platform::FolderListing listing;
  if (!platform::listFolder(folder, native, listing)) {
    console.writeLine({own(messages::kCanNotFoundFile)});
    return;
  }
  if (listing.id.known && !listed.insert({listing.id.volume, listing.id.index}).second) return;
  const bool holdsOwnFiles = ownFiles.in(listing.id);
  for (const platform::FolderEntry& entry : listing.entries) {
    if (!entry.isFolder) {
      if (holdsOwnFiles && ownFiles.named(entry.name)) continue;
      images.paths.push_back(platform::joinPath(folder, entry.name));
      images.native.push_back(entry.path);
    } else if (entry.name != "." && entry.name != "..") {
      scanInto(platform::joinPath(folder, entry.name), entry.path, ownFiles, listed, images,
               console);
    }
  }
}

}  // namespace

ScannedImages scanImageFolder(const std::string& folder, const OwnFile& ownFile,
                              Console& console) {
  ScannedImages images;
  ListedFolders listed;
  const OwnFiles ownFiles{platform::folderIdOf(ownFile.folder), ownFile.name};
  scanInto(folder, platform::nativePathOf(folder), ownFiles, listed, images, console);
  return images;
}
