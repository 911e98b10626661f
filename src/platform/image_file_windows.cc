// Image files are read with positioned reads of the ranges the parser asks for (ReadFile
// at an offset), with the random-access hint: the cache manager then reads those pages
// and no read-ahead window around them. A file searched from front to back (no EXIF
// block near its start) is opened again with the sequential hint, so the cache manager
// reads ahead of the search.
#include <windows.h>

#include <algorithm>

#include "platform/platform.h"

namespace platform {

namespace {

class WindowsImageFile final : public ImageFile {
 public:
  WindowsImageFile(HANDLE file, std::uint64_t size) : file_(file), size_(size) {}
  ~WindowsImageFile() override { CloseHandle(file_); }
  WindowsImageFile(const WindowsImageFile&) = delete;
  WindowsImageFile& operator=(const WindowsImageFile&) = delete;

  std::uint64_t size() const override { return size_; }

  bool readAt(std::uint64_t offset, std::size_t length, unsigned char* destination) override {
    std::size_t done = 0;
    while (done < length) {
      const std::uint64_t position = offset + done;
      OVERLAPPED at = {};
      at.Offset = static_cast<DWORD>(position & 0xFFFFFFFF);
      at.OffsetHigh = static_cast<DWORD>(position >> 32);
      const auto wanted = static_cast<DWORD>(std::min<std::size_t>(length - done, 1u << 30));
      DWORD got = 0;
      // An error of the disk or the share, or the end of a file cut since it was opened.
      if (!ReadFile(file_, destination + done, wanted, &got, &at) || got == 0) return false;
      done += got;
    }
    return true;
  }

  void readOnInOrder() override {
    HANDLE sequential = ReOpenFile(file_, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   FILE_FLAG_SEQUENTIAL_SCAN);
    if (sequential == INVALID_HANDLE_VALUE) return;  // the reads go on as they were
    CloseHandle(file_);
    file_ = sequential;
  }

 private:
  HANDLE file_;
  std::uint64_t size_;
};

OpenedImage failed(OpenFailure failure) {
  OpenedImage opened;
  opened.failure = failure;
  return opened;
}

class WindowsImageFiles final : public ImageFiles {
 public:
  OpenedImage open(const std::string& path, const NativePath& native) override {
    const std::wstring wide = native.wide.empty() ? nativePathOf(path).wide : native.wide;
    if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
      return failed(OpenFailure::missing);
    }
    // The sharing of fopen's "rb": others may go on reading and writing the file.
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return failed(OpenFailure::notOpenable);
    LARGE_INTEGER size;
    // FILE_TYPE_DISK: a file on a volume, not a pipe, a console or another device.
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || size.QuadPart < 0) {
      CloseHandle(file);
      return failed(OpenFailure::notRegularFile);
    }
    OpenedImage opened;
    opened.file =
        std::make_unique<WindowsImageFile>(file, static_cast<std::uint64_t>(size.QuadPart));
    return opened;
  }
};

}  // namespace

ImageFiles& systemImageFiles() {
  static WindowsImageFiles files;
  return files;
}

}  // namespace platform
