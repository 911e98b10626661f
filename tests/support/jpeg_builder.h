// Builds JPEG files with EXIF blocks for tests, the example batch and hostile inputs.
//
// Two levels. The low level writes exactly what it is given: the entries of IFD0, the
// EXIF sub-IFD and the GPS directory with any tag, type, count and value field, laid
// out like a camera does (header, directories, then the values that do not fit an
// entry, with their offsets computed), and a JPEG frame around the block. Every raw
// field can be overridden to make broken variants. The high level, makePhoto, writes
// the tags a camera writes from a few plain values.
#ifndef PRECHECK_TESTS_SUPPORT_JPEG_BUILDER_H_
#define PRECHECK_TESTS_SUPPORT_JPEG_BUILDER_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// numerator, denominator
using Fraction = std::pair<std::uint32_t, std::uint32_t>;

// `sub` is a further image of a TIFF, as SubIFDs (0x014A) points at it.
enum class Directory { ifd0, exif, gps, sub };

// Field type codes as they are written; kept apart from the reader's own, so that a
// wrong code there makes the tests fail.
namespace tiff {
constexpr std::uint16_t kByte = 1;
constexpr std::uint16_t kAscii = 2;
constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;
constexpr std::uint16_t kRational = 5;
constexpr std::uint16_t kUndefined = 7;
constexpr std::uint16_t kSrational = 10;
}  // namespace tiff

// One 12-byte directory entry. The value bytes are `bytes`, then `shorts`, then
// `longs` (the numbers in the block's byte order). Up to 4 value bytes are written
// into the entry; longer values go after the directories and the entry holds their
// offset. `tag`, `type` and `count` are written as they are, so changing one of them
// after a maker function gives a broken entry.
struct TiffEntry {
  std::uint16_t tag = 0;
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  std::string bytes;
  std::vector<std::uint16_t> shorts;
  std::vector<std::uint32_t> longs;           // RATIONALs as numerator, denominator pairs
  std::optional<Directory> pointsTo;          // value field: that directory's offset
  std::optional<std::uint32_t> valueField;    // written instead; long values are still placed
};

// ASCII `text` followed by the NUL that cameras write; count includes it.
TiffEntry asciiEntry(std::uint16_t tag, const std::string& text);
// Bytes written as they are, count = their number, under any type code (BYTE,
// UNDEFINED, or ASCII without the added NUL).
TiffEntry bytesEntry(std::uint16_t tag, std::uint16_t type, const std::string& bytes);
TiffEntry shortEntry(std::uint16_t tag, std::vector<std::uint16_t> values);
TiffEntry longEntry(std::uint16_t tag, std::vector<std::uint32_t> values);
TiffEntry rationalEntry(std::uint16_t tag, const std::vector<Fraction>& values);
// A LONG entry whose value is the offset of `target` (0 when that directory is not written).
TiffEntry pointerEntry(std::uint16_t tag, Directory target);

// A copy of `entry` with one raw field changed, for broken variants.
TiffEntry withType(TiffEntry entry, std::uint16_t type);
TiffEntry withCount(TiffEntry entry, std::uint32_t count);
TiffEntry withValueField(TiffEntry entry, std::uint32_t valueField);

// An EXIF block: "Exif\0\0", the TIFF header, IFD0, then the EXIF sub-IFD and the GPS
// directory when they have entries, then the long values.
struct ExifBlockSpec {
  bool littleEndian = true;
  std::vector<TiffEntry> ifd0;
  // A non-empty directory without a pointer entry in IFD0 gets one (tags 0x8769 and
  // 0x8825) at the end of IFD0. An explicit pointerEntry in `ifd0` replaces it.
  std::vector<TiffEntry> exif;
  std::vector<TiffEntry> gps;
  // Written after the GPS directory; no pointer is added for it.
  std::vector<TiffEntry> sub;

  // Raw fields for broken variants.
  std::optional<std::string> byteOrderMark;   // 2 bytes; default "II" or "MM"
  std::uint16_t magic = 42;
  std::optional<std::uint32_t> ifd0Offset;    // default 8, right after the TIFF header
  std::optional<std::uint16_t> ifd0Count;     // written instead of the number of entries
  std::optional<std::uint16_t> exifCount;     // a set count also writes an empty directory
  std::optional<std::uint16_t> gpsCount;
};

std::string buildExifBlock(const ExifBlockSpec& block);

// A TIFF file: the block without "Exif\0\0", then `imageBytes` of filler pixels.
std::string buildTiff(const ExifBlockSpec& block, std::size_t imageBytes = 64);

// A hostile block: every IFD0 and EXIF sub-IFD entry of `block` that has a `valueField`
// and no value bytes gets, as its count, the number of elements of its type from that
// offset to the end of the block. So each value is as large as the block and lies
// inside it; such entries place nothing, and the block is only its directories.
std::string buildBlockWithValuesToTheEnd(ExifBlockSpec block);

// A JPEG file: FF D8, `before`, the APP1 segment, `after`, a scan of `bodyBytes`
// filler bytes (never FF, so no marker appears by chance), FF D9, `trailing`.
struct JpegSpec {
  std::vector<std::string> before;           // whole segments, e.g. jfifSegment()
  std::optional<std::string> app1;           // APP1 payload, e.g. an EXIF block; unset: no APP1
  std::optional<std::uint16_t> app1Length;   // default: payload size + 2
  std::vector<std::string> after;            // whole segments after the APP1
  std::size_t bodyBytes = 256;
  bool endMarker = true;
  std::string trailing;
};

std::string buildJpeg(const JpegSpec& jpeg);

// FF `marker`, the big-endian length (payload size + 2), the payload.
std::string jpegSegment(std::uint8_t marker, const std::string& payload);
// A baseline frame header (SOF0) of `width` by `height` pixels.
std::string frameSegment(std::uint16_t width, std::uint16_t height);
// The APP0 JFIF segment that many encoders write first.
std::string jfifSegment();
// An APP1 segment holding the XMP `packet` behind its namespace header.
std::string xmpSegment(const std::string& packet);

// A position in decimal degrees and an altitude in metres. Negative values write the
// references S, W and altitude reference 1. Each coordinate is written as degrees and
// minutes over 1 and seconds over 10000; the altitude over 1000.
struct GpsSpec {
  double latitude = 0.0;
  double longitude = 0.0;
  double altitude = 0.0;
};

// The tags a camera writes; an unset field writes no tag.
struct PhotoSpec {
  bool littleEndian = true;
  std::optional<std::string> make;             // ASCII with its NUL
  std::optional<std::string> model;
  std::optional<std::string> dateTime;          // IFD0, "YYYY:MM:DD HH:MM:SS"
  std::optional<std::string> dateTimeOriginal;  // EXIF sub-IFD, the same form
  std::optional<std::uint32_t> pixelWidth;     // LONG, or SHORT with pixelsAsShort
  std::optional<std::uint32_t> pixelHeight;
  bool pixelsAsShort = false;                  // values must then fit 16 bits
  std::optional<Fraction> focalLength;         // RATIONAL, millimetres
  std::optional<std::uint16_t> focalLength35mm;
  std::optional<GpsSpec> gps;                  // version, references, coordinates, altitude
  bool jfif = false;                           // an APP0 JFIF segment before the APP1
  // Width and height: a frame header after the APP1, as encoders write it.
  std::optional<std::pair<std::uint16_t, std::uint16_t>> frame;
  // An XMP packet in its own APP1 after the EXIF one, before the frame, as drones write.
  std::optional<std::string> xmp;
  std::size_t bodyBytes = 4096;
};

// Built bytes copied into a heap buffer of exactly their size, as the parser takes them:
// a std::string keeps a NUL and maybe more behind its end, where AddressSanitizer would
// not see a read that overruns the data.
struct ExactBuffer {
  explicit ExactBuffer(const std::string& built) : bytes(built.begin(), built.end()) {}
  const unsigned char* data() const { return bytes.data(); }
  std::uint32_t length() const { return static_cast<std::uint32_t>(bytes.size()); }

  std::vector<unsigned char> bytes;
};

inline std::uint32_t lengthOf(const std::string& built) {
  return static_cast<std::uint32_t>(built.size());
}

// The start of a text bomb: FF D8 and an APP1 whose eleven kept text tags (image
// description, make, model, software, date, copyright; the two capture dates, the
// sub-second time, lens make and model) all point at the same `textBytes` bytes from
// `valueOffset` past the TIFF header, which begins at byte 12 of the file. The caller
// makes the file long enough and ends it with FF D9.
std::string textBombHead(std::uint32_t valueOffset, std::uint32_t textBytes);

// A DJI Phantom 4 Pro frame: 5472 by 3648, 8.8 mm (24 mm equivalent), at `latitude`
// along a flight line, 152.3 m up.
PhotoSpec droneFrame(double latitude);

// The EXIF block and the JPEG frame of a photo, for tests that change them further.
ExifBlockSpec photoExifBlock(const PhotoSpec& photo);
JpegSpec photoJpeg(const PhotoSpec& photo);
// The whole file, as a camera writes it.
std::string makePhoto(const PhotoSpec& photo);

// The EXIF block of a photo as a TIFF's IFD0 with ImageWidth and ImageLength first;
// buildTiff makes the file.
ExifBlockSpec photoTiff(const PhotoSpec& photo, std::uint32_t width, std::uint32_t height);

#endif  // PRECHECK_TESTS_SUPPORT_JPEG_BUILDER_H_
