// libFuzzer target: any bytes, taken as a whole JPEG file read from disk. The parser
// must return a status for every input without reading outside it (AddressSanitizer
// sees every byte past the end, as libFuzzer hands over an exactly sized copy) and
// without undefined behaviour.
#include <cstddef>
#include <cstdint>
#include <limits>

#include "exif/exif_metadata.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > std::numeric_limits<std::uint32_t>::max()) return 0;
  ExifMetadata metadata;
  metadata.parseJpeg(data, static_cast<std::uint32_t>(size));
  return 0;
}
