// What a run keeps of one image after reading it once: what the checks key on, and
// why it could not be read when it could not.
#ifndef PRECHECK_LOAD_IMAGE_RECORD_H_
#define PRECHECK_LOAD_IMAGE_RECORD_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/sha256.h"
#include "exif/capture_time.h"
#include "exif/exif_metadata.h"
#include "load/file_kind.h"
#include "xmp/xmp_values.h"

// Why an image was not read. Such an image shows only as its progress line: it is in
// no group and never reported.
enum class SkipReason {
  none,
  missing,         // gone since the scan, or a link to nothing
  notOpenable,     // no permission, or another error of the open
  notRegularFile,  // a FIFO, a socket, a device, or a folder by now
  empty,
  tooLarge,    // 2 GiB or more
  unreadable,  // a read failed: an error of the disk or the share, or cut meanwhile
  noMemory,    // the memory its parse needed could not be had
  noAnswer,    // an open or a read got no answer within the run's time limit
};

// What the survey of a batch reads, from the EXIF block and the XMP packet. Each is
// absent when the file does not carry it. The record's focalLength (0: none),
// focalLength35mm (0: none), latitude, longitude and altitude also serve it.
struct SurveyValues {
  std::optional<CaptureTime> captureTime;  // DateTimeOriginal, else DateTime; SubSecTimeOriginal
  std::optional<double> exposureTime;      // seconds
  std::optional<float> focalPlaneXResolution;  // pixels per focalPlaneResolutionUnit
  std::optional<float> focalPlaneYResolution;
  std::uint16_t focalPlaneResolutionUnit = 0;  // 2 inch, 3 cm, 4 mm, 5 um; 0: none
  bool hasPosition = false;                    // GPS latitude and longitude both decoded
  std::optional<double> gpsAltitude;           // metres; negative below sea level
  XmpValues xmp;
};

// What only the files for people and the survey ask for, kept apart from the record and
// only when they are asked for: the records of a whole run stay in memory, and each
// page of them a run touches first costs a fault.
struct ImageDetails {
  std::string model;
  std::string captureTime;  // DateTimeOriginal, or DateTime when the file has none
  SurveyValues survey;
};

// The camera make as the checks key it: its bytes up to the first NUL. One longer than
// kMakeBytesKept is kept as its first bytes, its length, its digest and where it lies in
// the file, so that the records of a run stay small whatever the files hold.
struct CameraMake {
  std::string kept;         // the whole make, or its first kMakeBytesKept bytes
  std::uint64_t length = 0;  // of the whole make
  Sha256Digest digest{};     // of the whole make, when it is longer than `kept`
  std::uint64_t at = 0;      // where it starts in the file, when it is longer

  bool whole() const { return length == kept.size(); }
};

struct ImageRecord {
  SkipReason skipped = SkipReason::none;
  // When read: the parse's result; the fields below hold values only when it is ok.
  ExifStatus status = ExifStatus::notJpeg;
  std::uint32_t pixelWidth = 0;
  std::uint32_t pixelHeight = 0;
  CameraMake make;
  double focalLength = 0.0;
  std::uint16_t focalLength35mm = 0;
  double latitude = 0.0;
  double longitude = 0.0;
  double altitude = 0.0;
  // The latitude or the longitude holds a rational with a zero denominator. The checks
  // read it as 0, as error.json always has; the files for people show no position.
  bool positionUndefined = false;
  std::shared_ptr<const ImageDetails> details;  // null unless asked for

  // What the file is and the pixel size its decoder sees, whatever its EXIF tags say;
  // kept also when the parse failed after the frame was found.
  FileKind kind = FileKind::unknown;
  std::uint32_t frameWidth = 0;  // 0 when the file gives none
  std::uint32_t frameHeight = 0;

  bool read() const { return skipped == SkipReason::none; }
  bool parsed() const { return read() && status == ExifStatus::ok; }
  // The survey's values, all absent when the details were not kept.
  const SurveyValues& surveyValues() const;
};

// Whether the EXIF pixel size of a parsed image is missing or differs from its frame:
// the checks key on the tags, which an editor that resized the image may have kept.
bool sizeMismatch(const ImageRecord& record);

// One line of text for each reason, for the diagnostics of a run.
const char* describe(SkipReason reason);

#endif  // PRECHECK_LOAD_IMAGE_RECORD_H_
