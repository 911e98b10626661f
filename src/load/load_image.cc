#include "load/load_image.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "load/file_bytes.h"
#include "xmp/xmp_reader.h"

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

// The make up to its first NUL. The parse kept one byte more than a record keeps; a
// make that long is read in pieces from the file, to its first NUL, and kept as its
// first bytes, its length and its digest. A failed read shows in `bytes`.
CameraMake cameraMakeOf(const ExifMetadata& metadata, FileBytes& bytes) {
  CameraMake make;
  const std::string& parsed = metadata.make;
  make.kept = parsed.substr(0, parsed.find('\0'));
  make.length = make.kept.size();
  if (make.kept.size() <= kMakeBytesKept) return make;
  make.kept.resize(kMakeBytesKept);
  make.at = metadata.makeValue.at;
  Sha256 digest;
  constexpr std::uint32_t kPiece = 64 * 1024;
  std::string piece;
  make.length = 0;
  for (std::uint32_t done = 0; done < metadata.makeValue.count;) {
    piece.resize(std::min(kPiece, metadata.makeValue.count - done));
    if (!bytes.copyTo(make.at + done, piece.size(),
                      reinterpret_cast<unsigned char*>(piece.data()))) {
      break;
    }
    const std::size_t nul = piece.find('\0');
    digest.add(std::string_view(piece).substr(0, nul));
    make.length += nul == std::string::npos ? piece.size() : nul;
    if (nul != std::string::npos) break;
    done += static_cast<std::uint32_t>(piece.size());
  }
  make.digest = digest.finish();
  return make;
}

std::optional<float> positive(double value) {
  if (!(value > 0.0) || value > 1e30) return std::nullopt;
  return static_cast<float>(value);
}

// What the survey of the batch reads. The XMP packet lies in a range the walk to the
// frame has read in a photograph as cameras write it.
SurveyValues surveyValuesOf(const ExifMetadata& metadata, FileBytes& bytes) {
  SurveyValues values;
  const bool original = !metadata.dateTimeOriginal.empty();
  values.captureTime = parseCaptureTime(original ? metadata.dateTimeOriginal : metadata.dateTime,
                                        original ? metadata.subSecTimeOriginal : "");
  if (metadata.exposureTime > 0.0) values.exposureTime = metadata.exposureTime;
  values.focalPlaneXResolution = positive(metadata.lens.focalPlaneXResolution);
  values.focalPlaneYResolution = positive(metadata.lens.focalPlaneYResolution);
  values.focalPlaneResolutionUnit = metadata.lens.focalPlaneResolutionUnit;
  values.hasPosition = metadata.gps.hasLatitude && metadata.gps.hasLongitude;
  if (metadata.gps.hasAltitude) values.gpsAltitude = metadata.gps.altitude;
  if (metadata.xmpPacket.count > 0) {
    const unsigned char* packet = bytes.bytesAt(metadata.xmpPacket.at, metadata.xmpPacket.count);
    if (packet != nullptr) {
      values.xmp = readXmp(reinterpret_cast<const char*>(packet), metadata.xmpPacket.count);
    }
  }
  return values;
}

// `details`, null when they are not kept, is the place for the image's details.
void keep(ExifMetadata& metadata, FileBytes& bytes, std::shared_ptr<ImageDetails>& details,
          ImageRecord& record) {
  record.pixelWidth = metadata.pixelWidth;
  record.pixelHeight = metadata.pixelHeight;
  record.make = cameraMakeOf(metadata, bytes);
  record.focalLength = metadata.focalLength;
  record.focalLength35mm = metadata.focalLength35mm;
  record.latitude = metadata.gps.latitude;
  record.longitude = metadata.gps.longitude;
  record.altitude = metadata.gps.altitude;
  record.positionUndefined =
      metadata.gps.latitudeParts.undefined || metadata.gps.longitudeParts.undefined;
  if (details != nullptr) {
    SurveyValues survey = surveyValuesOf(metadata, bytes);
    std::string& time =
        metadata.dateTimeOriginal.empty() ? metadata.dateTime : metadata.dateTimeOriginal;
    *details = ImageDetails{std::move(metadata.model), std::move(time), std::move(survey)};
    record.details = std::move(details);
  }
}

// Tells the kind from the file's first bytes, which the head read holds, and parses
// what is an image. Anything else keeps the status of a file that is no JPEG.
void parseByKind(FileBytes& bytes, bool keepDetails, ExifMetadata& metadata,
                 ImageRecord& record) {
  const std::size_t headBytes =
      static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), kKindBytes));
  record.kind = fileKindOf(bytes.bytesAt(0, headBytes), headBytes);
  if (record.kind == FileKind::jpeg) {
    record.status = metadata.parseJpeg(bytes, keepDetails);
  } else if (record.kind == FileKind::tiff) {
    record.status = metadata.parseTiff(bytes);
    if (metadata.dng) record.kind = FileKind::dng;
  }
  record.frameWidth = metadata.frameWidth;
  record.frameHeight = metadata.frameHeight;
}

ImageRecord readAndParse(platform::ImageFiles& files, const std::string& path,
                         const platform::NativePath& native, ReadPieces* pieces,
                         std::shared_ptr<ImageDetails>& details) {
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
  FileBytes bytes =
      pieces != nullptr ? FileBytes(*opened.file, *pieces) : FileBytes(*opened.file);
  ExifMetadata metadata;
  if (bytes.readEnds()) parseByKind(bytes, details != nullptr, metadata, record);
  if (record.status == ExifStatus::ok) keep(metadata, bytes, details, record);
  if (bytes.failed()) {
    ImageRecord unreadable;
    unreadable.skipped = SkipReason::unreadable;
    return unreadable;
  }
  return record;
}

}  // namespace

ImageRecord loadImage(platform::ImageFiles& files, const std::string& path,
                      const platform::NativePath& native, bool keepDetails,
                      ReadPieces* pieces, std::shared_ptr<ImageDetails> detailsInto) {
  // The one place where the standard library's allocation failures are caught: a file
  // that claims a make of gigabytes must cost that file, not the run.
  try {
    if (!keepDetails) {
      detailsInto = nullptr;
    } else if (detailsInto == nullptr) {
      detailsInto = std::make_shared<ImageDetails>();
    }
    return readAndParse(files, path, native, pieces, detailsInto);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  ImageRecord record;
  record.skipped = SkipReason::noMemory;
  return record;
}
