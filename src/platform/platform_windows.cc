#include "platform/platform.h"

#include <direct.h>
#include <io.h>
#include <process.h>
#include <windows.h>

#include <cstdio>

namespace platform {

namespace {

constexpr unsigned kFolderAttribute = 0x10;

// Reads the volume serial number and file index of an open folder; a folder that
// cannot be opened keeps an identity of zeros.
FolderId identifyFolder(const std::string& folder) {
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

}  // namespace

// A write to a closed pipe fails with an error on Windows; no signal ends the process.
void keepRunningWithoutConsole() {}

std::string joinPath(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;
}

bool listFolder(const std::string& folder, FolderListing* listing) {
  std::string pattern = folder + "\\*.*";
  _finddata64i32_t entry;
  intptr_t handle = _findfirst64i32(pattern.c_str(), &entry);
  if (handle == -1) return false;
  listing->id = identifyFolder(folder);
  listing->entries.clear();
  do {
    listing->entries.push_back(FolderEntry{entry.name, (entry.attrib & kFolderAttribute) != 0});
  } while (_findnext64i32(handle, &entry) == 0);
  _findclose(handle);
  return true;
}

bool pathExists(const std::string& path) { return _access(path.c_str(), 0) == 0; }

bool isSpecialFile(const std::string& path) {
  // Opening with no access reads no data, so it cannot wait on a pipe.
  HANDLE handle = CreateFileA(path.c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const DWORD type = GetFileType(handle);
  CloseHandle(handle);
  return type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE;
}

void createFolders(const std::string& path) {
  for (std::size_t separator = path.find_first_of("\\/", 1); separator != std::string::npos;
       separator = path.find_first_of("\\/", separator + 1)) {
    _mkdir(path.substr(0, separator).c_str());
  }
  _mkdir(path.c_str());
}

bool replaceFile(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp" + std::to_string(_getpid());
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                 std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
  written = std::fclose(file) == 0 && written;
  // rename() cannot replace an existing file on Windows; MoveFileEx can.
  if (written && MoveFileExA(temporary.c_str(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  std::remove(temporary.c_str());
  return false;
}

}  // namespace platform
