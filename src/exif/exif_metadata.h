// The camera metadata of one JPEG or TIFF file, read from its EXIF block: IFD0, the EXIF
// sub-IFD and the GPS directory. The record copies every value it keeps, so the
// file's bytes may be freed as soon as a parse returns.
#ifndef PRECHECK_EXIF_EXIF_METADATA_H_
#define PRECHECK_EXIF_EXIF_METADATA_H_

#include <cstdint>
#include <string>

#include "exif/byte_source.h"

// The bytes of a camera make kept as they are; a longer one is kept as its first bytes,
// its length and its digest.
inline constexpr std::size_t kMakeBytesKept = 256;

enum class ExifStatus : int {
  ok = 0,
  notJpeg = 1982,       // no data, no FF D8 at the start, or no FF D9 after it
  noExif = 1983,        // no APP1 marker, or its data do not start with "Exif\0\0"
  badByteOrder = 1984,  // neither "II" nor "MM"
  corrupt = 1985,       // a length, offset or count points outside the data; magic not 42
};

struct GpsAngle {
  double degrees = 0.0;
  double minutes = 0.0;
  double seconds = 0.0;
  char direction = '?';  // the reference letter as stored, or '?'
  // A part was a rational with a zero denominator: it reads as 0, as the report's rule
  // wants, but it is no measure, so the angle is no position to draw.
  bool undefined = false;
};

struct GpsInfo {
  double latitude = 0.0;   // decimal degrees, negative for south
  double longitude = 0.0;  // decimal degrees, negative for west
  double altitude = 0.0;   // negative when altitudeRef is 1 (below sea level)
  std::uint8_t altitudeRef = 0;
  bool hasLatitude = false;  // each set when its rationals were read
  bool hasLongitude = false;
  bool hasAltitude = false;
  double dop = 0.0;
  GpsAngle latitudeParts;
  GpsAngle longitudeParts;
};

struct LensData {
  double fNumberAtShortest = 0.0;
  double fNumberAtLongest = 0.0;
  double shortestFocalLength = 0.0;
  double longestFocalLength = 0.0;
  double focalPlaneXResolution = 0.0;
  double focalPlaneYResolution = 0.0;
  std::uint16_t focalPlaneResolutionUnit = 0;
  std::string lensMake;
  std::string lensModel;
};

// Text fields hold the bytes of the file's ASCII value less one trailing NUL; they
// may contain further NUL bytes. A field whose tag is absent keeps its reset value.
struct ExifMetadata {
  bool littleEndian = false;
  std::string imageDescription;
  // The camera make: at most kMakeBytesKept + 1 bytes of its value, which lies whole
  // at `makeValue`: a make can be as long as the file, and is read again from there in
  // pieces when it must be seen whole.
  std::string make;
  struct ValueExtent {
    std::uint64_t at = 0;     // in the source the parse read
    std::uint32_t count = 0;  // bytes, its NUL included
  } makeValue;
  std::string model;
  std::uint16_t orientation = 0;
  std::uint16_t bitsPerSample = 0;
  std::string software;
  std::string dateTime;
  std::string dateTimeOriginal;
  std::string dateTimeDigitized;
  std::string subSecTimeOriginal;
  std::string rightsNotice;
  double exposureTime = 0.0;
  double fNumber = 0.0;
  std::uint16_t exposureProgram = 0;
  std::uint16_t isoSpeed = 0;
  double shutterSpeedValue = 0.0;
  double exposureBiasValue = 0.0;
  double subjectDistance = 0.0;
  double focalLength = 0.0;
  std::uint16_t focalLength35mm = 0;
  bool flashFired = false;
  std::uint16_t flashReturnLight = 0;
  std::uint16_t flashMode = 0;
  std::uint16_t meteringMode = 0;
  std::uint32_t pixelWidth = 0;
  std::uint32_t pixelHeight = 0;
  GpsInfo gps;
  LensData lens;

  // The image's own structure, apart from its EXIF tags: what a decoder sees.
  std::uint32_t frameWidth = 0;  // JPEG frame header, or the TIFF's full image; 0: none
  std::uint32_t frameHeight = 0;
  std::uint32_t imageWidth = 0;  // ImageWidth and ImageLength of IFD0
  std::uint32_t imageLength = 0;
  std::uint32_t newSubfileType = 0;  // of IFD0; 0 is the full-resolution image
  bool dng = false;                  // IFD0 carries DNGVersion
  // The XMP packet of a JPEG, found on the walk to its frame; count 0 when none.
  ValueExtent xmpPacket;

  // Every field back to the value it has after construction.
  void reset();

  // Parses a whole JPEG file. Resets the record once the data pass the JPEG frame
  // checks; a failure after that may leave some fields filled, which the caller
  // must ignore. Only reads [data, data + length).
  ExifStatus parseJpeg(const unsigned char* data, std::uint32_t length);

  // The same on a file that `file` reads as the parse asks for its bytes. A file of
  // 2^32 bytes or more is not a JPEG this reader takes. The frame size and the XMP
  // packet are looked for only `withLayout`: the walk to them costs a read per file
  // that the checks alone never need.
  ExifStatus parseJpeg(ByteSource& file, bool withLayout = true);

  // Parses a whole classic TIFF file (DNG included) as a JPEG's EXIF block: IFD0 with
  // its EXIF and GPS directories. The pixel size is that of the EXIF tags, where they
  // are missing IFD0's; for a DNG, that of its full-resolution image. notJpeg when the
  // file does not start with a TIFF header.
  ExifStatus parseTiff(ByteSource& file);
  ExifStatus parseTiff(const unsigned char* data, std::uint32_t length);

  // Parses an EXIF block that starts with its "Exif\0\0" header, without resetting
  // the record first. Only reads [block, block + blockLength).
  ExifStatus parseExifBlock(const unsigned char* block, std::uint32_t blockLength);
};

#endif  // PRECHECK_EXIF_EXIF_METADATA_H_
