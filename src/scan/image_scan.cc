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

void scanInto(const std::string& folder, ListedFolders& listed, ImageList& images,
              Console& console) {
  platform::FolderListing listing;
  if (!platform::listFolder(folder, listing)) {
    console.writeLine({own(messages::kCanNotFoundFile)});
    return;
  }
  if (listing.id.known && !listed.insert({listing.id.volume, listing.id.index}).second) return;
  for (const platform::FolderEntry& entry : listing.entries) {
    if (!entry.isFolder) {
      images.push_back(platform::joinPath(folder, entry.name));
    } else if (entry.name != "." && entry.name != "..") {
      scanInto(platform::joinPath(folder, entry.name), listed, images, console);
    }
  }
}

}  // namespace

ImageList scanImageFolder(const std::string& folder, Console& console) {
  ImageList images;
  ListedFolders listed;
  scanInto(folder, listed, images, console);
  return images;
}
