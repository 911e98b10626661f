// What the entries of the GPS directory put into the record. The coordinates and the
// altitude carry their sign apart from their value: a reference entry ('S', 'W', or
// altitude reference 1) flips the sign of what is stored, before or after the value.
#ifndef PRECHECK_EXIF_GPS_TAGS_H_
#define PRECHECK_EXIF_GPS_TAGS_H_

#include <cstdint>

#include "exif/exif_block.h"
#include "exif/exif_metadata.h"
#include "exif/ifd_entry.h"

// `entry` is one GPS directory entry; its rationals are read from `block` at its
// offset, and ignored when they do not fit the block.
void applyGpsEntry(const RawIfdEntry& entry, const ExifBlock& block, GpsInfo& gps);

// Degrees, minutes and seconds as one value, summed in the order that fixes the
// rounding: (m / 60 + d) + s / 3600.
double decimalDegrees(const GpsAngle& angle);

#endif  // PRECHECK_EXIF_GPS_TAGS_H_
