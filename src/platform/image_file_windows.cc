// Image files are mapped, not read: the parser looks at the start of a file, its EXIF
// block and its last bytes, so a view reads a few pages where a whole read would copy
// every byte of a 20 MB photograph, and it does so again in each check.
#include "platform/platform.h"

#include <io.h>
#include <windows.h>

#include <cstdint>

namespace platform {

namespace {

// Windows refuses to cut a file below the size of a mapping of it
// (ERROR_USER_MAPPED_FILE), so the file keeps its length while it is parsed. Giving
// the size explicitly makes the mapping fail if the file shrank since it was measured.
// A page that cannot be read (a disk error, a network share gone) still raises an
// in-page error, which ends the run.
bool parseMapped(HANDLE file, std::uint32_t size, const ImageParse& parse) {
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, size, nullptr);
  if (mapping == nullptr) return false;
  const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
  if (view != nullptr) {
    parse(static_cast<const unsigned char*>(view), size);
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return view != nullptr;
}

}  // namespace

bool parseImageFile(const std::string& path, const ImageParse& parse) {
  if (_access(path.c_str(), 0) != 0) return false;
  // The sharing of fopen's "rb": others may go on reading and writing the file.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  // FILE_TYPE_DISK: a file on a volume, not a pipe, a console or another device.
  bool usable = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
                size.QuadPart > 0 && size.QuadPart <= INT32_MAX;
  if (usable) usable = parseMapped(file, static_cast<std::uint32_t>(size.QuadPart), parse);
  CloseHandle(file);
  return usable;
}

}  // namespace platform
