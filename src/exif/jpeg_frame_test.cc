#include "exif/jpeg_frame.h"

#include <gtest/gtest.h>

#include <string>

#include "exif/exif_metadata.h"
#include "jpeg_builder.h"

namespace {

struct FrameCase {
  const char* name;
  std::string file;
  std::uint32_t width;
  std::uint32_t height;
};

JpegSpec withSegments(std::vector<std::string> after) {
  JpegSpec jpeg;
  jpeg.before = {jfifSegment()};
  jpeg.app1 = buildExifBlock(ExifBlockSpec{});
  jpeg.after = std::move(after);
  return jpeg;
}

TEST(JpegFrameSize, FoundByWalkingTheSegmentsAndNotPastTheScan) {
  const std::string dqt = jpegSegment(0xDB, std::string(65, '\x01'));
  const std::string progressive = frameSegment(640, 480).replace(1, 1, "\xC2");
  const std::string huffman = frameSegment(9, 9).replace(1, 1, "\xC4");
  const std::string scan = jpegSegment(0xDA, std::string(10, '\0'));
  const std::string shortFrame = jpegSegment(0xC0, "\x08\x01\x00\x02");  // 4 of 7 bytes
  const FrameCase cases[] = {
      {"baseline after tables", buildJpeg(withSegments({dqt, frameSegment(4000, 3000)})), 4000,
       3000},
      {"progressive", buildJpeg(withSegments({progressive})), 640, 480},
      {"padding FF before the marker", buildJpeg(withSegments({"\xFF\xFF", frameSegment(8, 6)})),
       8, 6},
      {"restart marker alone", buildJpeg(withSegments({"\xFF\xD0", frameSegment(8, 6)})), 8, 6},
      {"Huffman tables are no frame", buildJpeg(withSegments({huffman})), 0, 0},
      {"after the scan", buildJpeg(withSegments({scan, frameSegment(8, 6)})), 0, 0},
      {"no frame", buildJpeg(withSegments({dqt})), 0, 0},
      {"frame header cut short", buildJpeg(withSegments({shortFrame})), 0, 0},
      {"segment longer than the file", buildJpeg(withSegments({"\xFF\xDB\xFF\xF0"})), 0, 0},
  };
  for (const FrameCase& c : cases) {
    const ExactBuffer buffer(c.file);
    MemoryBytes bytes(buffer.data(), buffer.length());
    const FrameSize size = jpegFrameSize(bytes, buffer.length());
    EXPECT_EQ(size.width, c.width) << c.name;
    EXPECT_EQ(size.height, c.height) << c.name;
  }
}

// The first APP1 with the XMP header before the frame is the packet; its extent covers
// the packet only, never past its segment.
TEST(JpegLayout, FindsTheXmpPacketOnTheWalk) {
  const std::string packet = "<x:xmpmeta/>";
  const std::string xmp = xmpSegment(packet);
  const std::string otherApp1 = jpegSegment(0xE1, "http://ns.adobe.com/xmp/extension/\0ab");
  const std::string headerOnly = xmpSegment("");
  const std::string scan = jpegSegment(0xDA, std::string(10, '\0'));
  const std::string frame = frameSegment(8, 6);
  struct Case {
    const char* name;
    std::string file;
    std::uint32_t packetBytes;  // 0: none found
  };
  const Case cases[] = {
      {"after the EXIF segment", buildJpeg(withSegments({xmp, frame})), 12},
      {"the first of two", buildJpeg(withSegments({xmp, xmpSegment("<longer/>..."), frame})), 12},
      {"another APP1 first", buildJpeg(withSegments({otherApp1, xmp, frame})), 12},
      {"kept when the walk fails after it", buildJpeg(withSegments({xmp, "\x01\x02"})), 12},
      {"only the header", buildJpeg(withSegments({headerOnly, frame})), 0},
      {"after the frame", buildJpeg(withSegments({frame, xmp})), 0},
      {"after the scan", buildJpeg(withSegments({scan, xmp, frame})), 0},
      {"an extended XMP segment", buildJpeg(withSegments({otherApp1, frame})), 0},
  };
  for (const Case& c : cases) {
    const ExactBuffer buffer(c.file);
    MemoryBytes bytes(buffer.data(), buffer.length());
    const SegmentExtent found = jpegLayout(bytes, buffer.length()).xmp;
    EXPECT_EQ(found.length, c.packetBytes) << c.name;
    if (c.packetBytes != 0) {
      EXPECT_EQ(c.file.substr(static_cast<std::size_t>(found.at), found.length), packet) << c.name;
    }
  }
}

// A file of nothing but empty segments is given up on, not walked to its end.
TEST(JpegFrameSize, ManyEmptySegmentsEndTheWalk) {
  std::string file = "\xFF\xD8";
  for (int i = 0; i < 2000; ++i) file += jpegSegment(0xFE, "");
  file += frameSegment(8, 6) + "\xFF\xD9";
  const ExactBuffer buffer(file);
  MemoryBytes bytes(buffer.data(), buffer.length());
  EXPECT_FALSE(jpegFrameSize(bytes, buffer.length()).found());
}

// The parse keeps the frame beside the EXIF tags, also when the file has no EXIF block.
TEST(JpegFrameSize, TheParseKeepsItWithOrWithoutExif) {
  PhotoSpec photo = droneFrame(30.5);
  photo.frame = {{2736, 1824}};
  ExifMetadata metadata;
  const std::string withExif = makePhoto(photo);
  const ExactBuffer a(withExif);
  ASSERT_EQ(metadata.parseJpeg(a.data(), a.length()), ExifStatus::ok);
  EXPECT_EQ(metadata.pixelWidth, 5472u);
  EXPECT_EQ(metadata.frameWidth, 2736u);
  EXPECT_EQ(metadata.frameHeight, 1824u);

  JpegSpec bare;
  bare.before = {frameSegment(100, 50)};
  const std::string withoutExif = buildJpeg(bare);
  const ExactBuffer b(withoutExif);
  ASSERT_EQ(metadata.parseJpeg(b.data(), b.length()), ExifStatus::noExif);
  EXPECT_EQ(metadata.frameWidth, 100u);
  EXPECT_EQ(metadata.frameHeight, 50u);
}

}  // namespace
