#include "exif/capture_time.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CaptureTime, ParsesTheTextsCamerasWrite) {
  struct Case {
    std::string dateTime;
    std::string subSeconds;
    const char* iso;  // nullptr: absent
    std::uint32_t nanoseconds;
    bool hasSubSeconds;
  };
  const Case cases[] = {
      {"2016:06:23 16:32:13", "", "2016-06-23T16:32:13", 0, false},
      {"2014:03:05 05:28:09", "46", "2014-03-05T05:28:09", 460000000, true},
      {"2016:05:30 14:20:55", "616284", "2016-05-30T14:20:55", 616284000, true},
      {"2016:05:30 14:20:55", "0123456789", "2016-05-30T14:20:55", 12345678, true},
      {"2016:05:30 14:20:55", "12 ", "2016-05-30T14:20:55", 120000000, true},
      {"2016:05:30 14:20:55", "1a", "2016-05-30T14:20:55", 0, false},
      {std::string("2016:05:30 14:20:55\0\0", 21), "", "2016-05-30T14:20:55", 0, false},
      {"2016-05-30T14:20:55", "", "2016-05-30T14:20:55", 0, false},
      {"2024:02:29 23:59:59", "", "2024-02-29T23:59:59", 0, false},
      {"2000:02:29 00:00:00", "", "2000-02-29T00:00:00", 0, false},
      {"1969:12:31 23:59:59", "", "1969-12-31T23:59:59", 0, false},
      {"0001:01:01 00:00:00", "", "0001-01-01T00:00:00", 0, false},
      {"0000:00:00 00:00:00", "", nullptr, 0, false},
      {"    :  :     :  :  ", "", nullptr, 0, false},
      {"2023:02:29 10:00:00", "", nullptr, 0, false},
      {"1900:02:29 10:00:00", "", nullptr, 0, false},
      {"2016:13:01 10:00:00", "", nullptr, 0, false},
      {"2016:04:31 10:00:00", "", nullptr, 0, false},
      {"2016:05:30 24:00:00", "", nullptr, 0, false},
      {"2016:05:30 14:60:00", "", nullptr, 0, false},
      {"2016:05:30 14:20:61", "", nullptr, 0, false},
      {"2016:05-30 14:20:55", "", nullptr, 0, false},
      {"2016:05:30 14:20", "", nullptr, 0, false},
      {"+016:05:30 14:20:55", "", nullptr, 0, false},
      {"", "5", nullptr, 0, false},
  };
  for (const Case& c : cases) {
    const std::optional<CaptureTime> time = parseCaptureTime(c.dateTime, c.subSeconds);
    ASSERT_EQ(time.has_value(), c.iso != nullptr) << c.dateTime;
    if (!time) continue;
    EXPECT_EQ(isoText(*time), c.iso) << c.dateTime;
    EXPECT_EQ(time->nanoseconds, c.nanoseconds) << c.dateTime << " " << c.subSeconds;
    EXPECT_EQ(time->hasSubSeconds, c.hasSubSeconds) << c.dateTime << " " << c.subSeconds;
  }
}

// Times order and subtract as the calendar does, across months, leap days and years.
TEST(CaptureTime, SecondsCountAcrossTheCalendar) {
  const auto seconds = [](const char* text) { return parseCaptureTime(text, "")->seconds; };
  EXPECT_EQ(seconds("1970:01:01 00:00:00"), 0);
  EXPECT_EQ(seconds("2024:03:01 00:00:00") - seconds("2024:02:28 23:59:59"), 86401);
  EXPECT_EQ(seconds("2024:01:01 00:00:00") - seconds("2023:12:31 23:50:00"), 600);
  EXPECT_EQ(seconds("2000:01:01 00:00:00"), 946684800);
  EXPECT_EQ(seconds("2000:02:29 23:59:59"), 951868799);
  EXPECT_EQ(seconds("2024:05:01 10:00:09"), 1714557609);
}

}  // namespace
