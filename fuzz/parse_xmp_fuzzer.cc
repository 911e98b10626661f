// libFuzzer target: any bytes, taken as the XMP packet of a photograph. The reader must
// return for every input without reading outside it, in time linear in its length,
// and keep its texts within their bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "xmp/xmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const XmpValues values = readXmp(reinterpret_cast<const char*>(data), size);
  if (values.captureId.size() > kCaptureIdBytesKept ||
      values.bandName.size() > kBandNameBytesKept) {
    std::abort();
  }
  return 0;
}
