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

// How many fields applying the entry would set, told from its fixed fields alone: 0
// when its table does not act on it (a tag it does not list, another type, no value,
// or a value outside the block); 1 to 4 for LensSpecification, one per value; else 1.
// A later entry of the same tag that sets at least as many replaces every field an
// earlier one set, which lets the walk decode only the entries that last.
unsigned fieldsSetByIfd0Entry(const RawIfdEntry& entry, std::uint32_t blockLength);
unsigned fieldsSetByExifSubIfdEntry(const RawIfdEntry& entry, std::uint32_t blockLength);

#endif  // PRECHECK_EXIF_DIRECTORY_TAGS_H_
