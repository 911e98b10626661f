// Every call into the operating system goes through here. One implementation per
// platform is compiled in: the files ending in _posix.cc or those ending in
// _windows.cc; temporary_name.cc serves both.
#ifndef PRECHECK_PLATFORM_PLATFORM_H_
#define PRECHECK_PLATFORM_PLATFORM_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace platform {

#ifdef _WIN32
// How Windows opens a listed file: by its UTF-16 path, in the "\\?\" form. The path
// the program shows is in the ANSI code page, which has no character for some names
// ("?" stands there, as the narrow calls give them), and the narrow calls take no path
// longer than MAX_PATH. Empty: the shown path is all there is, and serves.
struct NativePath {
  std::wstring wide;
};
#else
// POSIX opens a file by the bytes of the path the program shows. The listing also tells
// whether a regular file stood there (its own type, or a link's target's); the open
// asks again all the same, as a FIFO may have taken its place since.
struct NativePath {
  bool regularFile = false;
};
#endif

// The native form of a path the program was given, such as the input folder.
NativePath nativePathOf(const std::string& path);

struct FolderEntry {
  std::string name;  // as the program shows it
  NativePath path;   // the folder's native path joined with the entry
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

// `path` as it lies below `folder`, the rest after the folder and its separator, in
// the bytes the listing gave; `path` whole when it does not lie below `folder`.
std::string pathInside(const std::string& folder, const std::string& path);

// The identity of the folder at `path`, links followed; unknown when there is none.
FolderId folderIdOf(const std::string& path);

// Whether the entry `entryName` of a folder is the file `fileName` of that folder:
// the same bytes, or on Windows the same but for the case of ASCII letters.
bool namesSameFile(const std::string& entryName, const std::string& fileName);

// Lists every entry of `folder`, whose native path is `native`, hidden ones included,
// in the order the scan takes them. "." and ".." may be among them. Returns false when
// the folder cannot be enumerated.
bool listFolder(const std::string& folder, const NativePath& native, FolderListing& listing);

// The path by which the standard library's streams open `path`: on Windows its UTF-16
// long form, as the narrow calls stop at MAX_PATH; on POSIX the path itself.
std::filesystem::path streamPath(const std::string& path);

// True when something exists at `path`.
bool pathExists(const std::string& path);

// True when `path` leads, through any links, to a regular file: not a folder, a FIFO,
// a socket or a device.
bool isRegularFile(const std::string& path);

// What stands at a path, links followed, for the files a run writes.
enum class FileType {
  missing,
  regular,
  folder,
  stream,  // a FIFO, a terminal or another character device: written to, never replaced
  other,   // a socket, a block device
};

struct FileFacts {
  FileType type = FileType::missing;
  FolderId id;  // files are identified as folders are; unknown when missing
};

FileFacts fileFactsOf(const std::string& path);

// The identity of the file standard output writes to, when it is a file on a volume.
FolderId standardOutputId();

// A path as the folder it names its file in and the file's name: "a/b.csv" is "a" and
// "b.csv", "b.csv" is "." and "b.csv", "/b.csv" is "/" and "b.csv".
struct PathParts {
  std::string folder;
  std::string name;
};
PathParts splitPath(const std::string& path);

// Up to `length` first bytes of the regular file at `path`; empty when it cannot be read.
std::string fileHead(const std::string& path, std::size_t length);

// Writes `bytes` into what stands at `path` without replacing it: a FIFO, a device, or,
// for "-", standard output. False when it cannot be opened or not all bytes went out.
bool writeThrough(const std::string& path, const std::string& bytes);

// Creates `path` and any missing parent folders. Failure is not reported: whoever
// writes into the folder later finds out.
void createFolders(const std::string& path);

// Why an image file could not be opened.
enum class OpenFailure { none, missing, notOpenable, notRegularFile };

// An image file open for reading at any offset. Reads go to the file each time: the
// caller keeps what it needs.
class ImageFile {
 public:
  virtual ~ImageFile() = default;

  // The size the file had when it was opened.
  virtual std::uint64_t size() const = 0;

  // Reads the `length` bytes at `offset` into `destination`. False when not all of
  // them could be read: the file was cut meanwhile, or the disk or the share failed.
  virtual bool readAt(std::uint64_t offset, std::size_t length, unsigned char* destination) = 0;

  // Says that the reads from here on go through the file from front to back, as the
  // search of a file without an EXIF block near its start does: the system may then
  // read ahead of them.
  virtual void readOnInOrder() {}
};

struct OpenedImage {
  std::unique_ptr<ImageFile> file;  // null when the file could not be opened
  OpenFailure failure = OpenFailure::none;
};

// How image files are opened: the system's files, or in tests a reader that fails or
// is slow on purpose.
class ImageFiles {
 public:
  virtual ~ImageFiles() = default;

  // Opens a regular file for reading, by its native path when it has one. A FIFO, a
  // socket or a device is not opened at all (OpenFailure::notRegularFile): opening one
  // can block, release a waiting writer or have other effects.
  virtual OpenedImage open(const std::string& path, const NativePath& native) = 0;
};

// The files of the system; safe to use from several threads at once.
ImageFiles& systemImageFiles();

// Replaces the file at `path` with `bytes`, byte for byte, so that it is never seen
// half written: the bytes go to a temporary file beside it, which then takes its place.
// The temporary file never outlives the run: an interrupt while it exists (SIGINT,
// SIGTERM or SIGHUP; Ctrl+C, Ctrl+Break or closing the console) removes it, then ends
// the process as the interrupt would have. Returns false when any step fails; `path`
// is then unchanged.
bool replaceFile(const std::string& path, const std::string& bytes);

// Whether `name` is a name replaceFile gives the temporary file of a file named
// `fileName` in the same folder.
bool isTemporaryName(const std::string& name, const std::string& fileName);

}  // namespace platform

#endif  // PRECHECK_PLATFORM_PLATFORM_H_
