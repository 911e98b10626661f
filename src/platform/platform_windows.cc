#include "platform/platform.h"

#include <direct.h>
#include <io.h>
#include <windows.h>

namespace platform {

namespace {

constexpr unsigned kFolderAttribute = 0x10;

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

// The volume serial number and file index of the folder; a folder that cannot be
// opened keeps an identity of zeros.
FolderId folderIdOf(const std::string& folder) {
  FolderId id;
  HANDLE handle = CreateFileA(folder.empty() ? "\\" : folder.c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return id;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(handle, &info)) {
    id.known = true;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  }
  CloseHandle(handle);
  return id;
}

// NTFS and FAT take names alike whatever the case of their letters.
bool namesSameFile(const std::string& entryName, const std::string& fileName) {
  if (entryName.size() != fileName.size()) return false;
  for (std::size_t i = 0; i < entryName.size(); ++i) {
    if (asciiLower(entryName[i]) != asciiLower(fileName[i])) return false;
  }
  return true;
}

// A write to a closed pipe fails with an error on Windows; no signal ends the process.
void keepRunningWithoutConsole() {}

std::string joinPath(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;
}

bool listFolder(const std::string& folder, FolderListing& listing) {
  std::string pattern = folder + "\\*.*";
  _finddata64i32_t entry;
  intptr_t handle = _findfirst64i32(pattern.c_str(), &entry);
  if (handle == -1) return false;
  listing.id = folderIdOf(folder);
  listing.entries.clear();
  do {
    listing.entries.push_back(FolderEntry{entry.name, (entry.attrib & kFolderAttribute) != 0});
  } while (_findnext64i32(handle, &entry) == 0);
  _findclose(handle);
  return true;
}

bool pathExists(const std::string& path) { return _access(path.c_str(), 0) == 0; }

bool isRegularFile(const std::string& path) {
  // Opening with no access reads no data, so it cannot wait on a pipe.
  HANDLE handle = CreateFileA(path.c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  // FILE_TYPE_DISK: a file or a folder on a volume, not a pipe, a console or another device.
  const bool regular = GetFileType(handle) == FILE_TYPE_DISK &&
                       GetFileInformationByHandle(handle, &info) &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  CloseHandle(handle);
  return regular;
}

void createFolders(const std::string& path) {
  for (std::size_t separator = path.find_first_of("\\/", 1); separator != std::string::npos;
       separator = path.find_first_of("\\/", separator + 1)) {
    _mkdir(path.substr(0, separator).c_str());
  }
  _mkdir(path.c_str());
}

}  // namespace platform
