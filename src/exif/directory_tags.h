// What the tags of IFD0 and of the EXIF sub-IFD put into the record. Tags not listed
// here, and listed tags without the type or values they need, change nothing.
#ifndef PRECHECK_EXIF_DIRECTORY_TAGS_H_
#define PRECHECK_EXIF_DIRECTORY_TAGS_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "exif/exif_metadata.h"
#include "exif/ifd_entry.h"

// Offsets of the EXIF sub-IFD and the GPS directory, as IFD0 gives them.
struct DirectoryPointers {
  std::optional<std::uint32_t> exifSubIfd;
  std::optional<std::uint32_t> gps;
  std::vector<std::uint32_t> subIfds;  // a TIFF's further images, the first few
};

// Each may take the value out of `entry`.
void applyIfd0Entry(IfdEntry& entry, ExifMetadata& metadata, DirectoryPointers& pointers);
void applyExifSubIfdEntry(IfdEntry& entry, ExifMetadata& metadata);

// How the walk treats an entry, told from its fixed fields alone. `fieldsSet` is how
// many fields applying it would set: 0 when its table does not act on it (a tag it does
// not list, another type, no value, or a value outside the block); 1 to 4 for
// LensSpecification, one per value; else 1. A later entry of the same tag that sets at
// least as many replaces every field an earlier one set, which lets the walk decode only
// the entries that last. `limits` is how much of the value the rule reads.
struct EntryUse {
  unsigned fieldsSet = 0;
  ValueLimits limits;
};
EntryUse ifd0EntryUse(const RawIfdEntry& entry, const ExifBlock& block);
EntryUse exifSubIfdEntryUse(const RawIfdEntry& entry, const ExifBlock& block);

#endif  // PRECHECK_EXIF_DIRECTORY_TAGS_H_
