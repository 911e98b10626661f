#include "jpeg_builder.h"

#include <algorithm>
#include <cmath>

namespace {

void putU16(std::string& out, std::uint32_t value, bool littleEndian) {
  const char low = static_cast<char>(value & 0xFF);
  const char high = static_cast<char>((value >> 8) & 0xFF);
  out += littleEndian ? low : high;
  out += littleEndian ? high : low;
}

void putU32(std::string& out, std::uint32_t value, bool littleEndian) {
  putU16(out, littleEndian ? value & 0xFFFF : value >> 16, littleEndian);
  putU16(out, littleEndian ? value >> 16 : value & 0xFFFF, littleEndian);
}

std::string valueBytes(const TiffEntry& entry, bool littleEndian) {
  std::string bytes = entry.bytes;
  for (std::uint16_t value : entry.shorts) putU16(bytes, value, littleEndian);
  for (std::uint32_t value : entry.longs) putU32(bytes, value, littleEndian);
  return bytes;
}

std::size_t elementSize(std::uint16_t type) {
  switch (type) {
    case tiff::kShort: return 2;
    case tiff::kLong: return 4;
    case tiff::kRational: case tiff::kSrational: return 8;
    default: return 1;
  }
}

std::uint32_t directorySize(std::size_t entryCount) {
  return static_cast<std::uint32_t>(2 + 12 * entryCount + 4);
}

bool pointsTo(const std::vector<TiffEntry>& entries, Directory target) {
  return std::any_of(entries.begin(), entries.end(),
                     [target](const TiffEntry& entry) { return entry.pointsTo == target; });
}

// Offsets count from the TIFF header, as in the file.
struct Layout {
  std::uint32_t exif = 0;  // 0: not written
  std::uint32_t gps = 0;
  std::uint32_t sub = 0;
  std::uint32_t data = 0;

  std::uint32_t offsetOf(Directory directory) const {
    switch (directory) {
      case Directory::ifd0: return 8;
      case Directory::exif: return exif;
      case Directory::gps: return gps;
      case Directory::sub: return sub;
    }
    return 0;
  }
};

// Appends one directory to `tiff` and its long values to `data`.
void writeDirectory(const std::vector<TiffEntry>& entries, std::optional<std::uint16_t> count,
                    bool littleEndian, const Layout& layout, std::string& tiff,
                    std::string& data) {
  putU16(tiff, count.value_or(static_cast<std::uint16_t>(entries.size())), littleEndian);
  for (const TiffEntry& entry : entries) {
    putU16(tiff, entry.tag, littleEndian);
    putU16(tiff, entry.type, littleEndian);
    putU32(tiff, entry.count, littleEndian);
    std::string value = valueBytes(entry, littleEndian);
    std::string field;
    if (entry.pointsTo) {
      putU32(field, layout.offsetOf(*entry.pointsTo), littleEndian);
    } else if (value.size() <= 4) {
      field = value;
      field.resize(4, '\0');
    } else {
      if (data.size() % 2 != 0) data += '\0';  // TIFF values start on even offsets
      putU32(field, layout.data + static_cast<std::uint32_t>(data.size()), littleEndian);
      data += value;
    }
    // An override keeps the layout: the value is placed, the entry just points elsewhere.
    if (entry.valueField) {
      field.clear();
      putU32(field, *entry.valueField, littleEndian);
    }
    tiff += field;
  }
  putU32(tiff, 0, littleEndian);  // no next directory
}

std::vector<Fraction> degreesMinutesSeconds(double decimal) {
  const double value = std::fabs(decimal);
  const double degrees = std::floor(value);
  const double minutes = std::floor((value - degrees) * 60.0);
  const double seconds = ((value - degrees) * 60.0 - minutes) * 60.0;
  return {{static_cast<std::uint32_t>(degrees), 1},
          {static_cast<std::uint32_t>(minutes), 1},
          {static_cast<std::uint32_t>(std::llround(seconds * 10000.0)), 10000}};
}

std::vector<TiffEntry> gpsEntries(const GpsSpec& gps) {
  return {
      bytesEntry(0x0000, tiff::kByte, std::string("\x02\x03\x00\x00", 4)),  // version 2.3
      asciiEntry(0x0001, gps.latitude < 0 ? "S" : "N"),
      rationalEntry(0x0002, degreesMinutesSeconds(gps.latitude)),
      asciiEntry(0x0003, gps.longitude < 0 ? "W" : "E"),
      rationalEntry(0x0004, degreesMinutesSeconds(gps.longitude)),
      bytesEntry(0x0005, tiff::kByte, std::string(1, gps.altitude < 0 ? '\1' : '\0')),
      rationalEntry(0x0006,
                    {{static_cast<std::uint32_t>(std::llround(std::fabs(gps.altitude) * 1000.0)),
                      1000}}),
  };
}

}  // namespace

TiffEntry asciiEntry(std::uint16_t tag, const std::string& text) {
  return bytesEntry(tag, tiff::kAscii, text + '\0');
}

TiffEntry bytesEntry(std::uint16_t tag, std::uint16_t type, const std::string& bytes) {
  TiffEntry entry;
  entry.tag = tag;
  entry.type = type;
  entry.count = static_cast<std::uint32_t>(bytes.size());
  entry.bytes = bytes;
  return entry;
}

TiffEntry shortEntry(std::uint16_t tag, std::vector<std::uint16_t> values) {
  TiffEntry entry;
  entry.tag = tag;
  entry.type = tiff::kShort;
  entry.count = static_cast<std::uint32_t>(values.size());
  entry.shorts = std::move(values);
  return entry;
}

TiffEntry longEntry(std::uint16_t tag, std::vector<std::uint32_t> values) {
  TiffEntry entry;
  entry.tag = tag;
  entry.type = tiff::kLong;
  entry.count = static_cast<std::uint32_t>(values.size());
  entry.longs = std::move(values);
  return entry;
}

TiffEntry rationalEntry(std::uint16_t tag, const std::vector<Fraction>& values) {
  TiffEntry entry;
  entry.tag = tag;
  entry.type = tiff::kRational;
  entry.count = static_cast<std::uint32_t>(values.size());
  for (const auto& [numerator, denominator] : values) {
    entry.longs.push_back(numerator);
    entry.longs.push_back(denominator);
  }
  return entry;
}

TiffEntry pointerEntry(std::uint16_t tag, Directory target) {
  TiffEntry entry;
  entry.tag = tag;
  entry.type = tiff::kLong;
  entry.count = 1;
  entry.pointsTo = target;
  return entry;
}

TiffEntry withType(TiffEntry entry, std::uint16_t type) {
  entry.type = type;
  return entry;
}

TiffEntry withCount(TiffEntry entry, std::uint32_t count) {
  entry.count = count;
  return entry;
}

TiffEntry withValueField(TiffEntry entry, std::uint32_t valueField) {
  entry.valueField = valueField;
  return entry;
}

std::string buildExifBlock(const ExifBlockSpec& block) {
  const bool little = block.littleEndian;
  std::vector<TiffEntry> ifd0 = block.ifd0;
  if (!block.exif.empty() && !pointsTo(ifd0, Directory::exif)) {
    ifd0.push_back(pointerEntry(0x8769, Directory::exif));
  }
  if (!block.gps.empty() && !pointsTo(ifd0, Directory::gps)) {
    ifd0.push_back(pointerEntry(0x8825, Directory::gps));
  }
  const bool writeExif = !block.exif.empty() || block.exifCount;
  const bool writeGps = !block.gps.empty() || block.gpsCount;
  const bool writeSub = !block.sub.empty();

  Layout layout;
  std::uint32_t next = 8 + directorySize(ifd0.size());
  if (writeExif) {
    layout.exif = next;
    next += directorySize(block.exif.size());
  }
  if (writeGps) {
    layout.gps = next;
    next += directorySize(block.gps.size());
  }
  if (writeSub) {
    layout.sub = next;
    next += directorySize(block.sub.size());
  }
  layout.data = next;

  std::string tiff = block.byteOrderMark.value_or(little ? "II" : "MM");
  putU16(tiff, block.magic, little);
  putU32(tiff, block.ifd0Offset.value_or(8), little);
  std::string data;
  writeDirectory(ifd0, block.ifd0Count, little, layout, tiff, data);
  if (writeExif) writeDirectory(block.exif, block.exifCount, little, layout, tiff, data);
  if (writeGps) writeDirectory(block.gps, block.gpsCount, little, layout, tiff, data);
  if (writeSub) writeDirectory(block.sub, std::nullopt, little, layout, tiff, data);
  return std::string("Exif\0\0", 6) + tiff + data;
}

std::string buildTiff(const ExifBlockSpec& block, std::size_t imageBytes) {
  std::string file = buildExifBlock(block).substr(6);
  for (std::size_t i = 0; i < imageBytes; ++i) file += static_cast<char>(i % 251);
  return file;
}

ExifBlockSpec photoTiff(const PhotoSpec& photo, std::uint32_t width, std::uint32_t height) {
  ExifBlockSpec block = photoExifBlock(photo);
  block.ifd0.insert(block.ifd0.begin(),
                    {longEntry(0x0100, {width}), longEntry(0x0101, {height})});
  return block;
}

std::string buildBlockWithValuesToTheEnd(ExifBlockSpec block) {
  // The counts do not change the layout, so the first build gives the final length.
  const std::size_t tiffLength = buildExifBlock(block).size() - 6;
  for (auto* entries : {&block.ifd0, &block.exif}) {
    for (TiffEntry& entry : *entries) {
      if (!entry.valueField || !valueBytes(entry, block.littleEndian).empty()) continue;
      const std::size_t left = tiffLength - std::min<std::size_t>(*entry.valueField, tiffLength);
      entry.count = static_cast<std::uint32_t>(left / elementSize(entry.type));
    }
  }
  return buildExifBlock(block);
}

std::string jpegSegment(std::uint8_t marker, const std::string& payload) {
  std::string segment = {'\xFF', static_cast<char>(marker)};
  putU16(segment, static_cast<std::uint32_t>(payload.size() + 2), false);
  return segment + payload;
}

std::string jfifSegment() {
  // "JFIF", version 1.01, no units, 1:1 pixel aspect, no thumbnail.
  return jpegSegment(0xE0, std::string("JFIF\0\x01\x01\x00\x00\x01\x00\x01\x00\x00", 14));
}

std::string xmpSegment(const std::string& packet) {
  return jpegSegment(0xE1, std::string("http://ns.adobe.com/xap/1.0/\0", 29) + packet);
}

std::string buildJpeg(const JpegSpec& jpeg) {
  std::string file = "\xFF\xD8";
  for (const std::string& segment : jpeg.before) file += segment;
  if (jpeg.app1) {
    file += "\xFF\xE1";
    putU16(file, jpeg.app1Length.value_or(static_cast<std::uint16_t>(jpeg.app1->size() + 2)),
           false);
    file += *jpeg.app1;
  }
  for (const std::string& segment : jpeg.after) file += segment;
  for (std::size_t i = 0; i < jpeg.bodyBytes; ++i) {
    file += static_cast<char>((i * 31 + 7) % 251);  // below 0xFF: never a marker
  }
  if (jpeg.endMarker) file += "\xFF\xD9";
  return file + jpeg.trailing;
}

std::string frameSegment(std::uint16_t width, std::uint16_t height) {
  // 8-bit samples, then height and width, then three components of one table each.
  std::string payload = "\x08";
  putU16(payload, height, false);
  putU16(payload, width, false);
  payload += std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
  return jpegSegment(0xC0, payload);
}

ExifBlockSpec photoExifBlock(const PhotoSpec& photo) {
  ExifBlockSpec block;
  block.littleEndian = photo.littleEndian;
  if (photo.make) block.ifd0.push_back(asciiEntry(0x010F, *photo.make));
  if (photo.model) block.ifd0.push_back(asciiEntry(0x0110, *photo.model));
  if (photo.dateTime) block.ifd0.push_back(asciiEntry(0x0132, *photo.dateTime));
  if (photo.dateTimeOriginal) block.exif.push_back(asciiEntry(0x9003, *photo.dateTimeOriginal));
  if (photo.focalLength) block.exif.push_back(rationalEntry(0x920A, {*photo.focalLength}));
  const std::pair<std::uint16_t, std::optional<std::uint32_t>> pixels[] = {
      {0xA002, photo.pixelWidth}, {0xA003, photo.pixelHeight}};
  for (const auto& [tag, value] : pixels) {
    if (!value) continue;
    block.exif.push_back(photo.pixelsAsShort
                             ? shortEntry(tag, {static_cast<std::uint16_t>(*value)})
                             : longEntry(tag, {*value}));
  }
  if (photo.focalLength35mm) block.exif.push_back(shortEntry(0xA405, {*photo.focalLength35mm}));
  if (photo.gps) block.gps = gpsEntries(*photo.gps);
  return block;
}

std::string textBombHead(std::uint32_t valueOffset, std::uint32_t textBytes) {
  const auto text = [&](std::uint16_t tag) {
    return withCount(withValueField(bytesEntry(tag, tiff::kAscii, ""), valueOffset), textBytes);
  };
  ExifBlockSpec block;
  for (const std::uint16_t tag : std::vector<std::uint16_t>{0x010E, 0x010F, 0x0110, 0x0131,
                                                             0x0132, 0x8298}) {
    block.ifd0.push_back(text(tag));
  }
  for (const std::uint16_t tag : std::vector<std::uint16_t>{0x9003, 0x9004, 0x9291, 0xA433,
                                                             0xA434}) {
    block.exif.push_back(text(tag));
  }
  JpegSpec jpeg;
  jpeg.app1 = buildExifBlock(block);
  jpeg.bodyBytes = 0;
  jpeg.endMarker = false;
  return buildJpeg(jpeg);
}

PhotoSpec droneFrame(double latitude) {
  PhotoSpec photo;
  photo.make = "DJI";
  photo.model = "FC6310";
  photo.pixelWidth = 5472;
  photo.pixelHeight = 3648;
  photo.focalLength = Fraction{88, 10};
  photo.focalLength35mm = 24;
  photo.gps = GpsSpec{latitude, 114.3608, 152.3};
  return photo;
}

JpegSpec photoJpeg(const PhotoSpec& photo) {
  JpegSpec jpeg;
  if (photo.jfif) jpeg.before.push_back(jfifSegment());
  jpeg.app1 = buildExifBlock(photoExifBlock(photo));
  if (photo.xmp) jpeg.after.push_back(xmpSegment(*photo.xmp));
  if (photo.frame) jpeg.after.push_back(frameSegment(photo.frame->first, photo.frame->second));
  jpeg.bodyBytes = photo.bodyBytes;
  return jpeg;
}

std::string makePhoto(const PhotoSpec& photo) { return buildJpeg(photoJpeg(photo)); }
