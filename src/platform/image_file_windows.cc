// Image files are mapped, not read: the parser looks at the start of a file, its EXIF
// block and its last bytes, so a view reads a few pages where a whole read would copy
// every byte of a 20 MB photograph, and it does so again in each check.
#include "platform/platform.h"

#include <io.h>
#include <windows.h>

#include <cstdint>

namespace platform {

namespace {

// The view being parsed. A page of it that cannot be read (a disk error, a network
// share gone) raises an in-page error; the handler then puts zeros where the view was,
// so that the parse runs to its end, and the file is skipped afterwards.
struct ParsedView {
  unsigned char* start = nullptr;
  std::uint32_t size = 0;
  bool replaced = false;
};
ParsedView parsedView;

LONG CALLBACK replaceUnreadableView(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (record->ExceptionCode != EXCEPTION_IN_PAGE_ERROR || record->NumberParameters < 2) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  const auto address = reinterpret_cast<const unsigned char*>(record->ExceptionInformation[1]);
  ParsedView& view = parsedView;
  if (view.start == nullptr || address < view.start || address >= view.start + view.size) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  if (!view.replaced) {
    // A view starts on an allocation boundary, so the freed range can be taken again at
    // the same address; nothing else runs in between on this single thread.
    UnmapViewOfFile(view.start);
    if (VirtualAlloc(view.start, view.size, MEM_RESERVE | MEM_COMMIT, PAGE_READONLY) !=
        view.start) {
      return EXCEPTION_CONTINUE_SEARCH;
    }
    view.replaced = true;
  }
  return EXCEPTION_CONTINUE_EXECUTION;
}

// Windows refuses to cut a file below the size of a mapping of it
// (ERROR_USER_MAPPED_FILE), so the file keeps its length while it is parsed. Giving
// the size explicitly makes the mapping fail if the file shrank since it was measured.
bool parseMapped(HANDLE file, std::uint32_t size, const ImageParse& parse) {
  static const PVOID handler = AddVectoredExceptionHandler(1, replaceUnreadableView);
  if (handler == nullptr) return false;
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, size, nullptr);
  if (mapping == nullptr) return false;
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
  CloseHandle(mapping);
  if (view == nullptr) return false;
  parsedView = ParsedView{static_cast<unsigned char*>(view), size, false};
  parse(parsedView.start, size);
  const bool intact = !parsedView.replaced;
  if (intact) {
    UnmapViewOfFile(view);
  } else {
    VirtualFree(view, 0, MEM_RELEASE);
  }
  parsedView = ParsedView{};
  return intact;
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
