// The pixel size a JPEG decoder uses: the one in the frame header (SOF), which editors
// keep right when they resize, unlike the EXIF tags they copy along.
#ifndef PRECHECK_EXIF_JPEG_FRAME_H_
#define PRECHECK_EXIF_JPEG_FRAME_H_

#include <cstdint>

#include "exif/byte_source.h"

struct FrameSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool found() const { return width != 0 || height != 0; }
};

// Where a segment's data lie in the file; an empty one when there is none.
struct SegmentExtent {
  std::uint64_t at = 0;
  std::uint32_t length = 0;
};

// What the walk over the segments before the frame finds: the frame's size, and the
// XMP packet, which cameras write in an APP1 segment of its own after the EXIF one.
struct JpegLayout {
  FrameSize frame;
  SegmentExtent xmp;  // the packet, past the segment's namespace header
};

// Walks the segments from the start of image to the first frame header that ends
// before `end`. An empty size when there is none before the scan, the walk meets
// something that is no marker, or the file has more segments before it than a camera
// writes (a file of tiny segments would otherwise be walked for minutes). The first
// XMP segment the walk passes is kept even then.
JpegLayout jpegLayout(ByteSource& file, std::uint64_t end);

inline FrameSize jpegFrameSize(ByteSource& file, std::uint64_t end) {
  return jpegLayout(file, end).frame;
}

#endif  // PRECHECK_EXIF_JPEG_FRAME_H_
