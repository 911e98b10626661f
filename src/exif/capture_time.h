// When a photograph was taken, as its camera's clock read it: no time zone, so times
// compare only within one batch.
#ifndef PRECHECK_EXIF_CAPTURE_TIME_H_
#define PRECHECK_EXIF_CAPTURE_TIME_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct CaptureTime {
  std::int64_t seconds = 0;  // since 1970-01-01 00:00:00 of the camera's clock
  std::uint32_t nanoseconds = 0;  // the sub-second part, 0 when hasSubSeconds is false
  bool hasSubSeconds = false;
};

// "YYYY:MM:DD HH:MM:SS" as EXIF writes it (dashes and a 'T' are taken too), and its
// sub-second digits ("123" is 0.123 s; empty for none). Absent for any other text,
// for a date such as "0000:00:00 00:00:00" that cameras write when their clock is
// unset, and for a time out of range; sub-seconds that are not digits are ignored.
std::optional<CaptureTime> parseCaptureTime(std::string_view dateTime,
                                            std::string_view subSeconds);

// "YYYY-MM-DDTHH:MM:SS", without the sub-seconds.
std::string isoText(const CaptureTime& time);

#endif  // PRECHECK_EXIF_CAPTURE_TIME_H_
