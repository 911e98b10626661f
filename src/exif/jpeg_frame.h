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

// Walks the segments from the start of image to the first frame header that ends
// before `end`. An empty size when there is none before the scan, the walk meets
// something that is no marker, or the file has more segments before it than a camera
// writes (a file of tiny segments would otherwise be walked for minutes).
FrameSize jpegFrameSize(ByteSource& file, std::uint64_t end);

#endif  // PRECHECK_EXIF_JPEG_FRAME_H_
