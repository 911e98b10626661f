// libFuzzer target: any bytes, taken as a whole TIFF or DNG file read from disk. The
// parser must return a status for every input without reading outside it and without
// undefined behaviour. The same bytes are also parsed as the loader reads a file, in
// small ranges on demand, so that every input crosses their boundaries: both parses
// must agree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "exif/exif_metadata.h"
#include "exif_fields.h"
#include "load/file_bytes.h"
#include "memory_image_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > std::numeric_limits<std::uint32_t>::max()) return 0;
  ExifMetadata whole;
  const ExifStatus status = whole.parseTiff(data, static_cast<std::uint32_t>(size));

  MemoryImageFiles files;
  files.add("input", MemoryFile{std::string(reinterpret_cast<const char*>(data), size)});
  platform::OpenedImage opened = files.open("input", {});
  FileBytes bytes(*opened.file, ReadSizes{4, 8, 8, 8});
  ExifMetadata inRanges;
  if (size > 0 && (!bytes.readEnds() || inRanges.parseTiff(bytes) != status ||
                   (status == ExifStatus::ok && !(allFields(inRanges) == allFields(whole))))) {
    std::abort();
  }
  return 0;
}
