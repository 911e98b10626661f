#include "load/load_image.h"

#include <cstdint>
#include <new>
#include <stdexcept>
#include <utility>

#include "load/file_bytes.h"

namespace {

// The size a signed 32-bit file length can state, as the pipeline's readers have always
// taken it; a larger file is not a photograph of a survey.
constexpr std::uint64_t kLargestImageBytes = 0x7FFFFFFF;

SkipReason skipReasonOf(platform::OpenFailure failure) {
  switch (failure) {
    case platform::OpenFailure::missing:
      return SkipReason::missing;
    case platform::OpenFailure::notRegularFile:
      return SkipReason::notRegularFile;
    case platform::OpenFailure::notOpenable:
    case platform::OpenFailure::none:
      break;
  }
  return SkipReason::notOpenable;
}

void keep(ExifMetadata& metadata, bool keepDetails, ImageRecord& record) {
  record.pixelWidth = metadata.pixelWidth;
  record.pixelHeight = metadata.pixelHeight;
  // Moved, not copied, and cut to what is ever shown of it: a make can be as long as
  // the file.
  record.make = std::move(metadata.make);
  const std::size_t nul = record.make.find('\0');
  if (nul != std::string::npos) {
    record.make.resize(nul);
    record.make.shrink_to_fit();
  }
  record.focalLength = metadata.focalLength;
  record.focalLength35mm = metadata.focalLength35mm;
  record.latitude = metadata.gps.latitude;
  record.longitude = metadata.gps.longitude;
  record.altitude = metadata.gps.altitude;
  if (keepDetails) {
    std::string& time =
        metadata.dateTimeOriginal.empty() ? metadata.dateTime : metadata.dateTimeOriginal;
    record.details = std::make_shared<const ImageDetails>(
        ImageDetails{std::move(metadata.model), std::move(time)});
  }
}

ImageRecord readAndParse(platform::ImageFiles& files, const std::string& path,
                         const platform::NativePath& native, bool keepDetails) {
  ImageRecord record;
  platform::OpenedImage opened = files.open(path, native);
  if (opened.file == nullptr) {
    record.skipped = skipReasonOf(opened.failure);
    return record;
  }
  const std::uint64_t size = opened.file->size();
  if (size == 0) {
    record.skipped = SkipReason::empty;
    return record;
  }
  if (size > kLargestImageBytes) {
    record.skipped = SkipReason::tooLarge;
    return record;
  }
  FileBytes bytes(*opened.file);
  ExifMetadata metadata;
  if (bytes.readEnds()) record.status = metadata.parseJpeg(bytes);
  if (bytes.failed()) {
    record.skipped = SkipReason::unreadable;
    return record;
  }
  if (record.status == ExifStatus::ok) keep(metadata, keepDetails, record);
  return record;
}

}  // namespace

ImageRecord loadImage(platform::ImageFiles& files, const std::string& path,
                      const platform::NativePath& native, bool keepDetails) {
  // The one place where the standard library's allocation failures are caught: a file
  // that claims a make of gigabytes must cost that file, not the run.
  try {
    return readAndParse(files, path, native, keepDetails);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  ImageRecord record;
  record.skipped = SkipReason::noMemory;
  return record;
}
