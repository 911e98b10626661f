#include "exif/jpeg_frame.h"

#include <cstring>

#include "exif/byte_order.h"

namespace {

// Cameras write a dozen segments before the frame; editors a few more.
constexpr unsigned kMostSegments = 512;

// C0 to CF are frame headers but for C4 (Huffman tables), C8 (reserved) and CC
// (arithmetic coding conditions).
bool isFrameHeader(unsigned char marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM and the restart markers.
bool standsAlone(unsigned char marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// What an APP1 segment holding an XMP packet starts with.
constexpr char kXmpHeader[] = "http://ns.adobe.com/xap/1.0/";  // and its NUL
constexpr std::uint32_t kXmpHeaderBytes = sizeof kXmpHeader;

// The packet of the APP1 segment whose data (`length` bytes, its length field left out)
// start at `data`, or an empty extent when the segment holds something else.
SegmentExtent xmpPacketOf(ByteSource& file, std::uint64_t data, std::uint32_t length) {
  if (length < kXmpHeaderBytes) return {};
  const unsigned char* header = file.bytesAt(data, kXmpHeaderBytes);
  if (header == nullptr || std::memcmp(header, kXmpHeader, kXmpHeaderBytes) != 0) return {};
  return SegmentExtent{data + kXmpHeaderBytes, length - kXmpHeaderBytes};
}

}  // namespace

JpegLayout jpegLayout(ByteSource& file, std::uint64_t end) {
  JpegLayout layout;
  FrameSize& frame = layout.frame;
  std::uint64_t position = 2;  // past FF D8
  for (unsigned segment = 0; segment < kMostSegments; ++segment) {
    if (position + 2 > end) return layout;
    const unsigned char* marker = file.bytesAt(position, 2);
    if (marker == nullptr || marker[0] != 0xFF) return layout;
    // Any number of FF bytes may pad before a marker.
    if (marker[1] == 0xFF) {
      ++position;
      continue;
    }
    if (standsAlone(marker[1])) {
      position += 2;
      continue;
    }
    const unsigned char code = marker[1];
    if (code == 0xDA || code == 0xD9 || code == 0xD8 || code == 0x00) return layout;
    if (position + 4 > end) return layout;
    const unsigned char* lengthBytes = file.bytesAt(position + 2, 2);
    if (lengthBytes == nullptr) return layout;
    const std::uint16_t length = readU16(lengthBytes, false);  // counts itself
    if (length < 2 || position + 2 + length > end) return layout;
    if (isFrameHeader(code)) {
      // Precision, then height and width, big-endian.
      if (length < 7) return layout;
      const unsigned char* header = file.bytesAt(position + 4, 5);
      if (header == nullptr) return layout;
      frame = FrameSize{readU16(header + 3, false), readU16(header + 1, false)};
      return layout;
    }
    if (code == 0xE1 && layout.xmp.length == 0) {
      layout.xmp = xmpPacketOf(file, position + 4, length - 2u);
    }
    position += 2 + std::uint64_t{length};
  }
  return layout;
}
