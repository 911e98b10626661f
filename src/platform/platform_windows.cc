#include "platform/platform.h"

#include <algorithm>
#include <cstdio>

#include <windows.h>

namespace platform {

namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Text in the ANSI code page, as the narrow calls take it, in UTF-16.
std::wstring widened(const std::string& text) {
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return wide;
}

// A name as the narrow listing calls give it: in the ANSI code page, with the page's
// default character where it has none.
std::string narrowed(const wchar_t* name) {
  const int length = WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return std::string();
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, name, -1, narrow.data(), length, nullptr, nullptr);
  narrow.pop_back();  // the terminating NUL
  return narrow;
}

// Native paths are full paths, so only a root ends with a separator.
std::wstring joinedNative(const std::wstring& folder, const wchar_t* name) {
  return folder + (!folder.empty() && folder.back() == L'\\' ? L"" : L"\\") + name;
}

// The volume serial number and file index of a folder; a folder that cannot be opened
// keeps an identity of zeros.
FolderId folderIdOfNative(const std::wstring& folder) {
  FolderId id;
  HANDLE handle = CreateFileW(folder.c_str(), 0,
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

NativePath nativePathOf(const std::string& path) {
  // An empty folder value means the root of the current drive, as the pattern "\*.*" does.
  const std::wstring given = widened(path.empty() ? "\\" : path);
  const std::wstring longForm = L"\\\\?\\";
  if (given.compare(0, longForm.size(), longForm) == 0) return NativePath{given};
  const DWORD size = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
  std::wstring full(size, L'\0');
  const DWORD length = size == 0 ? 0 : GetFullPathNameW(given.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return NativePath{given};
  full.resize(length);
  if (full.compare(0, 4, L"\\\\.\\") == 0) return NativePath{full};  // a device
  if (full.compare(0, 2, L"\\\\") == 0) return NativePath{longForm + L"UNC" + full.substr(1)};
  return NativePath{longForm + full};
}

FolderId folderIdOf(const std::string& path) { return folderIdOfNative(nativePathOf(path).wide); }

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

bool listFolder(const std::string& folder, const NativePath& native, FolderListing& listing) {
  const std::wstring base = native.wide.empty() ? nativePathOf(folder).wide : native.wide;
  WIN32_FIND_DATAW entry;
  HANDLE handle = FindFirstFileW(joinedNative(base, L"*").c_str(), &entry);
  if (handle == INVALID_HANDLE_VALUE) return false;
  listing.id = folderIdOfNative(base);
  listing.entries.clear();
  do {
    const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    listing.entries.push_back(FolderEntry{narrowed(entry.cFileName),
                                          NativePath{joinedNative(base, entry.cFileName)},
                                          isFolder});
  } while (FindNextFileW(handle, &entry));
  FindClose(handle);
  return true;
}

std::filesystem::path streamPath(const std::string& path) { return nativePathOf(path).wide; }

bool pathExists(const std::string& path) {
  return GetFileAttributesW(nativePathOf(path).wide.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isRegularFile(const std::string& path) {
  // Opening with no access reads no data, so it cannot wait on a pipe.
  HANDLE handle = CreateFileW(nativePathOf(path).wide.c_str(), 0,
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

// Every folder on the way, by the long form of the full path: one that exists, or a
// root or share that cannot be made, fails and is passed.
void createFolders(const std::string& path) {
  const std::wstring native = nativePathOf(path).wide;
  const std::size_t start = native.compare(0, 4, L"\\\\?\\") == 0 ? 4 : 0;
  for (std::size_t separator = native.find(L'\\', start); separator != std::wstring::npos;
       separator = native.find(L'\\', separator + 1)) {
    CreateDirectoryW(native.substr(0, separator).c_str(), nullptr);
  }
  CreateDirectoryW(native.c_str(), nullptr);
}

namespace {

FolderId idOfHandle(HANDLE handle) {
  FolderId id;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileInformationByHandle(handle, &info)) {
    id.known = true;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  }
  return id;
}

bool writeAllTo(HANDLE handle, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

}  // namespace

FileFacts fileFactsOf(const std::string& path) {
  FileFacts facts;
  const std::wstring native = nativePathOf(path).wide;
  const DWORD attributes = GetFileAttributesW(native.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // Devices such as NUL and CON have no attributes but open all the same.
    HANDLE device = CreateFileW(native.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE) return facts;
    facts.type = GetFileType(device) == FILE_TYPE_DISK ? FileType::other : FileType::stream;
    CloseHandle(device);
    return facts;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    facts.type = FileType::folder;
    facts.id = folderIdOfNative(native);
    return facts;
  }
  HANDLE handle = CreateFileW(native.c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    facts.type = FileType::other;
    return facts;
  }
  facts.type = GetFileType(handle) == FILE_TYPE_DISK ? FileType::regular : FileType::stream;
  facts.id = idOfHandle(handle);
  CloseHandle(handle);
  return facts;
}

FolderId standardOutputId() {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == INVALID_HANDLE_VALUE || output == nullptr) return FolderId{};
  if (GetFileType(output) != FILE_TYPE_DISK) return FolderId{};
  return idOfHandle(output);
}

PathParts splitPath(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos) {
    // "C:name" names its file in the current folder of drive C.
    if (path.size() >= 2 && path[1] == ':') return PathParts{path.substr(0, 2), path.substr(2)};
    return PathParts{".", path};
  }
  // "\name" and "C:\name" name their file in a root, which keeps its separator.
  const bool root = separator == 0 || (separator == 2 && path[1] == ':');
  return PathParts{path.substr(0, root ? separator + 1 : separator), path.substr(separator + 1)};
}

std::string fileHead(const std::string& path, std::size_t length) {
  HANDLE handle = CreateFileW(nativePathOf(path).wide.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::string();
  std::string head(length, '\0');
  DWORD got = 0;
  if (GetFileType(handle) != FILE_TYPE_DISK ||
      !ReadFile(handle, head.data(), static_cast<DWORD>(length), &got, nullptr)) {
    got = 0;
  }
  CloseHandle(handle);
  head.resize(got);
  return head;
}

bool writeThrough(const std::string& path, const std::string& bytes) {
  if (path == "-") {
    std::fflush(stdout);
    return writeAllTo(GetStdHandle(STD_OUTPUT_HANDLE), bytes);
  }
  HANDLE handle = CreateFileW(nativePathOf(path).wide.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool written = writeAllTo(handle, bytes);
  return CloseHandle(handle) != 0 && written;
}

}  // namespace platform
