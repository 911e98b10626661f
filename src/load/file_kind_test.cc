#include "load/file_kind.h"

#include <gtest/gtest.h>

#include <string>

#include "jpeg_builder.h"

namespace {

FileKind kindOf(const std::string& head) {
  return fileKindOf(reinterpret_cast<const unsigned char*>(head.data()), head.size());
}

TEST(FileKind, ToldByContent) {
  const std::string rinexObs =
      "     3.03           OBSERVATION DATA    M                   RINEX VERSION / TYPE\n";
  const std::string rinexNav =
      "     3.03           N: GNSS NAV DATA    M                   RINEX VERSION / TYPE\n";
  const std::string crinex =
      "3.0                 COMPACT RINEX FORMAT                    CRINEX VERS   / TYPE\n";
  const std::string mrk =
      "1\t196977.527612\t[2139]\t    -6,N\t    18,E\t    16,V\t-35.28089637,Lat\t"
      "149.07452087,Lon\t599.683,Ellh\t0.007212, 0.006437, 0.016553\t50,Q\n";
  const struct {
    std::string head;
    FileKind kind;
  } cases[] = {
      {makePhoto(droneFrame(30.0)), FileKind::jpeg},
      {std::string("\xFF\xD8", 2), FileKind::jpeg},
      {std::string("II*\0", 4), FileKind::tiff},
      {std::string("MM\0*", 4), FileKind::tiff},
      {std::string("II+\0", 4), FileKind::bigTiff},
      {std::string("MM\0+", 4), FileKind::bigTiff},
      {std::string("II*", 3), FileKind::text},
      {rinexObs + "G01 C1C L1C\n", FileKind::rinexObservation},
      {crinex, FileKind::rinexObservation},
      {rinexNav, FileKind::rinexNavigation},
      {"     2.11           G: GLONASS NAV DATA                     RINEX VERSION / TYPE\n",
       FileKind::rinexNavigation},
      {"     3.03           METEOROLOGICAL DATA                     RINEX VERSION / TYPE\n",
       FileKind::text},  // weather, not a log of the flight
      {"RINEX VERSION / TYPE in the wrong column\n", FileKind::text},
      {mrk + mrk, FileKind::djiTimestamps},
      {std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(100, '\0'),
       FileKind::thumbnailCache},
      {std::string("\0\0\0\1Bud1\0\0\x10\0", 12), FileKind::finderSettings},
      {std::string("\0\x05\x16\x07\0\x02\0\0", 8), FileKind::appleDouble},
      {"lat,lon\n30.5,114.3\n", FileKind::text},
      {"caf\xC3\xA9 \xE5\x9C\xB0\xE5\x9B\xBE\r\n", FileKind::text},
      {std::string("text\0with NUL", 13), FileKind::unknown},
      {"\x1B[31mred", FileKind::unknown},
      {"", FileKind::unknown},
      {std::string(600, 'a') + std::string(1, '\0'), FileKind::text},  // only the head counts
  };
  for (const auto& c : cases) {
    EXPECT_EQ(kindOf(c.head), c.kind) << c.head.substr(0, 24);
  }
}

TEST(FileKind, ImagesAndTheirWords) {
  EXPECT_TRUE(isImage(FileKind::jpeg));
  EXPECT_TRUE(isImage(FileKind::dng));
  EXPECT_FALSE(isImage(FileKind::rinexObservation));
  EXPECT_FALSE(isImage(FileKind::unknown));
  EXPECT_STREQ(describe(FileKind::thumbnailCache), "thumbnail cache");
  EXPECT_STREQ(describe(FileKind::djiTimestamps), "DJI timestamp file");
}

}  // namespace
