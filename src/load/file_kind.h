// What a file below the input folder is, told from its first bytes, not its name:
// people must hear that a folder holds a RINEX log or a thumbnail cache, not that a
// photograph is broken.
#ifndef PRECHECK_LOAD_FILE_KIND_H_
#define PRECHECK_LOAD_FILE_KIND_H_

#include <cstddef>

enum class FileKind {
  unknown,  // nothing recognised: perhaps a damaged photograph
  jpeg,
  tiff,
  dng,      // a TIFF with DNGVersion, told apart by its parse
  bigTiff,  // recognised, not read
  rinexObservation,
  rinexNavigation,
  djiTimestamps,
  thumbnailCache,  // Thumbs.db, an OLE compound file
  finderSettings,  // .DS_Store
  appleDouble,     // ._name, the resource fork a Mac leaves on a foreign disk
  text,
};

// How many of a file's first bytes tell its kind; every test reads within them.
inline constexpr std::size_t kKindBytes = 512;

// The kind of a file whose first `length` bytes (all of it, or kKindBytes) are `head`.
// Never dng: only the parse sees the tag that makes a TIFF one.
FileKind fileKindOf(const unsigned char* head, std::size_t length);

// Whether files of the kind are images that precheck reads.
bool isImage(FileKind kind);

// The words that name the kind for people: "RINEX observation file".
const char* describe(FileKind kind);

#endif  // PRECHECK_LOAD_FILE_KIND_H_
