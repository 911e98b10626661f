// Every call into the operating system goes through here. One implementation per
// platform is compiled in: platform_posix.cc and image_file_posix.cc, or
// platform_windows.cc and image_file_windows.cc.
#ifndef PRECHECK_PLATFORM_PLATFORM_H_
#define PRECHECK_PLATFORM_PLATFORM_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

struct FolderEntry {
  std::string name;
  bool isFolder = false;
};

// Identifies a folder on its volume, so that a folder reached again through a link
// can be recognised. A folder whose identity could not be read is never recognised.
struct FolderId {
  bool known = false;
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
};

struct FolderListing {
  FolderId id;
  std::vector<FolderEntry> entries;
};

// Lets the run go on when standard output is a pipe whose reader has gone (precheck
// | head): writes to it then fail quietly instead of ending the process before the
// report is written.
void keepRunningWithoutConsole();

// Joins a folder and an entry name with the platform's separator. Neither part is
// inspected: a folder that already ends with a separator gets a second one.
std::string joinPath(const std::string& folder, const std::string& name);

// Lists every entry of `folder`, hidden ones included, in the order the scan takes
// them. "." and ".." may be among them. Returns false when the folder cannot be
// enumerated.
bool listFolder(const std::string& folder, FolderListing* listing);

// True when something exists at `path`.
bool pathExists(const std::string& path);

// True when `path` leads to a FIFO, a socket or a device.
bool isSpecialFile(const std::string& path);

// Creates `path` and any missing parent folders. Failure is not reported: whoever
// writes into the folder later finds out.
void createFolders(const std::string& path);

// Reads an image file for `parse`, which gets its bytes and their number and must not
// keep the pointer. Only the parts of the file that `parse` touches are read from disk,
// yet it sees the same bytes as a whole read would.
//
// Returns false, and whatever `parse` made of the bytes is to be thrown away, for
// anything that is not a regular file of 1 byte to 2 GiB - 1 that stays readable
// while it is parsed: missing, unreadable, special (a FIFO, a device), empty, too
// large, or cut short or failing while `parse` reads it. `parse` is not called at all
// when the file is skipped before its bytes are shown.
using ImageParse = std::function<void(const unsigned char* data, std::uint32_t length)>;
bool parseImageFile(const std::string& path, const ImageParse& parse);

// Replaces the file at `path` with `bytes` so that it is never seen half written: the
// bytes go to a temporary file beside it, which then takes its place. Returns false
// when any step fails; `path` is then unchanged.
bool replaceFile(const std::string& path, const std::string& bytes);

}  // namespace platform

#endif  // PRECHECK_PLATFORM_PLATFORM_H_
