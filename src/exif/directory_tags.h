// What the tags of IFD0 and of the EXIF sub-IFD put into the record. Tags not listed
// here, and listed tags without the type or values they need, change nothing.
#ifndef PRECHECK_EXIF_DIRECTORY_TAGS_H_
#define PRECHECK_EXIF_DIRECTORY_TAGS_H_

#include <cstdint>
#include <optional>

#include "exif/exif_metadata.h"
#include "exif/ifd_entry.h"

// Block positions of the EXIF sub-IFD and the GPS directory, as IFD0 gives them.
// 64-bit, since an offset near 2^32 plus the header position must not wrap.
struct DirectoryPointers {
  std::optional<std::uint64_t> exifSubIfd;
  std::optional<std::uint64_t> gps;
};

void applyIfd0Entry(const IfdEntry& entry, ExifMetadata& metadata, DirectoryPointers& pointers);
void applyExifSubIfdEntry(const IfdEntry& entry, ExifMetadata& metadata);

#endif  // PRECHECK_EXIF_DIRECTORY_TAGS_H_
