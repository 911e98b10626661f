// The report is written to a temporary file that then takes the report's place. An
// interrupt while the temporary file exists must not leave it behind: in a folder the
// batch shares it would be one more file of the batch. So a console control handler
// is in place for that time; it deletes the file and lets the next handler, in the end
// the system's, end the process as it would have.
#define _CRT_RAND_S  // rand_s, from the system's random source
#include <stdlib.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/temporary_name.h"

namespace platform {

namespace {

// The temporary file the handler deletes, changed only under the lock: the handler runs
// on a thread of its own.
SRWLOCK temporaryLock = SRWLOCK_INIT;
std::wstring temporaryPath;  // its long form: the narrow calls stop at MAX_PATH
bool temporaryExists = false;

class TemporaryLocked {
 public:
  TemporaryLocked() { AcquireSRWLockExclusive(&temporaryLock); }
  ~TemporaryLocked() { ReleaseSRWLockExclusive(&temporaryLock); }
  TemporaryLocked(const TemporaryLocked&) = delete;
  TemporaryLocked& operator=(const TemporaryLocked&) = delete;
};

// Ctrl+C, Ctrl+Break and closing the console. The file is open with FILE_SHARE_DELETE,
// so it can be deleted while the run writes it; it goes when the process ends.
BOOL WINAPI deleteTemporaryOnInterrupt(DWORD) {
  const TemporaryLocked locked;
  if (temporaryExists) DeleteFileW(temporaryPath.c_str());
  temporaryExists = false;
  return FALSE;
}

// The console control handler, in place while it lives.
class InterruptsCaught {
 public:
  InterruptsCaught() { SetConsoleCtrlHandler(deleteTemporaryOnInterrupt, TRUE); }
  ~InterruptsCaught() { SetConsoleCtrlHandler(deleteTemporaryOnInterrupt, FALSE); }
  InterruptsCaught(const InterruptsCaught&) = delete;
  InterruptsCaught& operator=(const InterruptsCaught&) = delete;
};

bool randomNumber(std::uint64_t& number) {
  unsigned int high = 0;
  unsigned int low = 0;
  if (rand_s(&high) != 0 || rand_s(&low) != 0) return false;
  number = (std::uint64_t{high} << 32) | low;
  return true;
}

// Creates a temporary file for `path` that did not exist before, under a name of which
// the handler knows.
HANDLE createTemporary(const std::string& path) {
  // Other names are tried when one is taken; taken by chance twice in a row is all but
  // impossible, so many failures mean that something else is wrong.
  constexpr int kAttempts = 16;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::uint64_t random = 0;
    if (!randomNumber(random)) return INVALID_HANDLE_VALUE;
    const std::wstring name = nativePathOf(temporaryNameFor(path, random)).wide;
    const TemporaryLocked locked;
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      temporaryPath = name;
      temporaryExists = true;
      return file;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return INVALID_HANDLE_VALUE;
  }
  return INVALID_HANDLE_VALUE;
}

bool writeAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(file, bytes.data() + done, wanted, &put, nullptr) || put == 0) return false;
    done += put;
  }
  return true;
}

}  // namespace

bool replaceFile(const std::string& path, const std::string& bytes) {
  const InterruptsCaught caught;
  HANDLE file = createTemporary(path);
  if (file == INVALID_HANDLE_VALUE) return false;
  // Flushed before the move, so that a crash cannot leave an empty file in its place.
  bool written = writeAll(file, bytes) && FlushFileBuffers(file);
  written = CloseHandle(file) && written;
  const TemporaryLocked locked;
  if (!temporaryExists) return false;  // deleted by an interrupt, which ends the run
  // rename() cannot replace an existing file on Windows; MoveFileEx can.
  const bool replaced =
      written && MoveFileExW(temporaryPath.c_str(), nativePathOf(path).wide.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!replaced) DeleteFileW(temporaryPath.c_str());
  temporaryExists = false;
  return replaced;
}

}  // namespace platform
