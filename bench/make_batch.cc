// Writes a benchmark batch shaped like a drone survey: every file as a DJI camera
// lays it out (an EXIF APP1 with a thumbnail near the start, an XMP APP1, the tables
// and frame header, a large entropy-coded body, the end marker), each with its own
// position along a flight line. Also writes task.cfg with every check on.
// --stripped writes the same files with their metadata removed, as some export tools
// leave them: no APP1 at all, only the tables, the frame, the body and the end marker.
// Usage: make-bench-batch [--stripped] <folder> <files> <bytes per file>
//          <files per folder, 0: one>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "jpeg_builder.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxThumbnailBytes = 40 * 1024;

// Bytes that look like compressed data: every value, with each FF followed by the
// 00 that a JPEG encoder stuffs behind it.
std::string entropyCodedBytes(std::size_t count, std::uint32_t seed) {
  std::string bytes;
  bytes.reserve(count + 1);
  while (bytes.size() < count) {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    bytes += static_cast<char>(seed & 0xFF);
    if ((seed & 0xFF) == 0xFF) bytes += '\0';
  }
  bytes.resize(count);
  if (!bytes.empty() && static_cast<unsigned char>(bytes.back()) == 0xFF) bytes.back() = '\0';
  return bytes;
}

// A small JPEG of its own, as cameras embed after the EXIF directories.
std::string thumbnail(std::size_t bytes) {
  return "\xFF\xD8" + entropyCodedBytes(bytes > 4 ? bytes - 4 : 0, 7) + "\xFF\xD9";
}

std::string xmpSegment(const GpsSpec& gps) {
  std::string xml =
      "http://ns.adobe.com/xap/1.0/" + std::string(1, '\0') +
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/"
      "02/22-rdf-syntax-ns#\"><rdf:Description xmlns:drone-dji=\"http://www.dji.com/drone-dji/"
      "1.0/\" drone-dji:GpsLatitude=\"" + std::to_string(gps.latitude) +
      "\" drone-dji:GpsLongitude=\"" + std::to_string(gps.longitude) +
      "\" drone-dji:AbsoluteAltitude=\"" + std::to_string(gps.altitude) +
      "\" drone-dji:GimbalPitchDegree=\"-90.0\" drone-dji:FlightYawDegree=\"12.3\"/>"
      "</rdf:RDF></x:xmpmeta>";
  xml += std::string(2048, ' ');  // the padding writers leave for in-place edits
  return jpegSegment(0xE1, xml);
}

// Quantisation and Huffman tables, the frame header and the scan header: their sizes
// as a baseline encoder writes them.
std::string frameSegments(std::uint16_t width, std::uint16_t height) {
  std::string tables = jpegSegment(0xDB, std::string(1, '\0') + std::string(64, '\x10')) +
                       jpegSegment(0xDB, std::string(1, '\1') + std::string(64, '\x11'));
  std::string frame = {'\x08', static_cast<char>(height >> 8), static_cast<char>(height & 0xFF),
                       static_cast<char>(width >> 8), static_cast<char>(width & 0xFF), '\x03',
                       '\x01', '\x22', '\x00', '\x02', '\x11', '\x01', '\x03', '\x11', '\x01'};
  std::string huffman;
  for (char table : {'\x00', '\x10', '\x01', '\x11'}) {
    huffman += jpegSegment(0xC4, std::string(1, table) + std::string(16, '\x01') +
                                     std::string(16, '\x02'));
  }
  std::string scan = {'\x03', '\x01', '\x00', '\x02', '\x11', '\x03', '\x11', '\x00', '\x3F', '\x00'};
  return tables + jpegSegment(0xC0, frame) + huffman + jpegSegment(0xDA, scan);
}

// Everything before the body of the `index`th frame along a flight line, with the
// further tags a DJI camera writes.
std::string head(std::size_t index, std::size_t thumbnailBytes) {
  const PhotoSpec photo = droneFrame(30.5421 + 0.00001 * static_cast<double>(index));
  ExifBlockSpec block = photoExifBlock(photo);
  block.ifd0.push_back(shortEntry(0x0112, {1}));
  block.ifd0.push_back(asciiEntry(0x0131, "v01.08.1719"));
  block.ifd0.push_back(asciiEntry(0x0132, "2024:05:17 10:21:33"));
  block.exif.push_back(rationalEntry(0x829A, {{1, 1000}}));
  block.exif.push_back(rationalEntry(0x829D, {{56, 10}}));
  block.exif.push_back(shortEntry(0x8827, {100}));
  block.exif.push_back(asciiEntry(0x9003, "2024:05:17 10:21:33"));
  // Cameras write each directory in tag order.
  for (auto* entries : {&block.ifd0, &block.exif}) {
    std::sort(entries->begin(), entries->end(),
              [](const TiffEntry& a, const TiffEntry& b) { return a.tag < b.tag; });
  }

  JpegSpec jpeg;
  jpeg.app1 = buildExifBlock(block) + thumbnail(thumbnailBytes);
  jpeg.after = {xmpSegment(*photo.gps), frameSegments(5472, 3648)};
  jpeg.bodyBytes = 0;
  jpeg.endMarker = false;
  return buildJpeg(jpeg);
}

std::string strippedHead() {
  JpegSpec jpeg;
  jpeg.after = {frameSegments(5472, 3648)};
  jpeg.bodyBytes = 0;
  jpeg.endMarker = false;
  return buildJpeg(jpeg);
}

std::string relativePath(std::size_t index, std::size_t filesPerFolder) {
  char name[32];
  std::snprintf(name, sizeof name, "DJI_%06zu.JPG", index + 1);
  if (filesPerFolder == 0) return name;
  const std::size_t folder = index / filesPerFolder;
  return "flight_" + std::to_string(folder / 10) + "/line_" + std::to_string(folder % 10) + "/" +
         name;
}

bool writeFile(const fs::path& path, const std::string& head, const std::string& body) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(head.data(), static_cast<std::streamsize>(head.size()));
  out.write(body.data(), static_cast<std::streamsize>(body.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  const bool stripped = argc > 1 && std::string(argv[1]) == "--stripped";
  if (stripped) {
    --argc;
    ++argv;
  }
  if (argc != 5) {
    std::fprintf(stderr, "usage: make-bench-batch [--stripped] <folder> <files> "
                         "<bytes per file> <files per folder, 0: one folder>\n");
    return 2;
  }
  const fs::path root = fs::absolute(argv[1]);
  const std::size_t files = std::strtoull(argv[2], nullptr, 10);
  const std::size_t fileBytes = std::strtoull(argv[3], nullptr, 10);
  const std::size_t filesPerFolder = std::strtoull(argv[4], nullptr, 10);
  const std::size_t thumbnailBytes = std::min(kMaxThumbnailBytes, fileBytes / 4);
  auto headOf = [&](std::size_t index) {
    return stripped ? strippedHead() : head(index, thumbnailBytes);
  };

  // Every file has the same body; only the head differs.
  const std::size_t headBytes = headOf(0).size();
  const std::string body =
      entropyCodedBytes(fileBytes > headBytes + 2 ? fileBytes - headBytes - 2 : 0, 1) + "\xFF\xD9";
  for (std::size_t i = 0; i < files; ++i) {
    if (!writeFile(root / "images" / relativePath(i, filesPerFolder), headOf(i), body)) {
      std::fprintf(stderr, "make-bench-batch: cannot write below %s\n", root.string().c_str());
      return 1;
    }
  }
  std::ofstream config(root / "task.cfg", std::ios::binary);
  config << "1focal=true\n2gps=true\n3make=true\n4resolution=true\n5input="
         << (root / "images").string() << "\n6output=" << (root / "check").string() << "\n";
  return config ? 0 : 1;
}
