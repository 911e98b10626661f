#include <vector>

#include "checks/image_checker.h"
#include "common/console.h"
#include "common/messages.h"
#include "platform/platform.h"

namespace {

// `ancestors` holds the folders being listed above this one, so that a link back to
// one of them ends there instead of recursing without end.
void scanInto(const std::string& folder, std::vector<platform::FolderId>& ancestors,
              ImageList& images) {
  platform::FolderListing listing;
  if (!platform::listFolder(folder, &listing)) {
    writeLine(messages::kCanNotFoundFile);
    return;
  }
  for (const platform::FolderId& ancestor : ancestors) {
    if (ancestor.sameAs(listing.id)) return;
  }
  ancestors.push_back(listing.id);
  for (const platform::FolderEntry& entry : listing.entries) {
    if (!entry.isFolder) {
      images.push_back(platform::joinPath(folder, entry.name));
    } else if (entry.name != "." && entry.name != "..") {
      scanInto(platform::joinPath(folder, entry.name), ancestors, images);
    }
  }
  ancestors.pop_back();
}

}  // namespace

ImageList ImageChecker::scanImageFolder(std::string folder) const {
  ImageList images;
  std::vector<platform::FolderId> ancestors;
  scanInto(folder, ancestors, images);
  return images;
}
