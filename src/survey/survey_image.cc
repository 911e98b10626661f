#include "survey/survey_image.h"

#include <cmath>
#include <cstdint>

namespace {

// Days since 1970-01-01 of a civil date (Howard Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// The number of `count` digits at `at`, or -1.
std::int64_t digitsAt(const std::string& text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return -1;
  std::int64_t value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool oneOf(char c, const char* allowed) {
  for (; *allowed != '\0'; ++allowed) {
    if (c == *allowed) return true;
  }
  return false;
}

}  // namespace

std::optional<CaptureTime> parseCaptureTime(const std::string& text,
                                            const std::string& subSeconds) {
  if (text.size() < 19 || !oneOf(text[4], ":-") || !oneOf(text[7], ":-") ||
      !oneOf(text[10], " T") || text[13] != ':' || text[16] != ':') {
    return std::nullopt;
  }
  const std::int64_t year = digitsAt(text, 0, 4);
  const std::int64_t month = digitsAt(text, 5, 2);
  const std::int64_t day = digitsAt(text, 8, 2);
  const std::int64_t hour = digitsAt(text, 11, 2);
  const std::int64_t minute = digitsAt(text, 14, 2);
  const std::int64_t second = digitsAt(text, 17, 2);
  // Cameras without a clock write zeros or blanks: no time at all.
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
      minute < 0 || minute > 59 || second < 0 || second > 60) {
    return std::nullopt;
  }
  CaptureTime time;
  time.seconds = daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  time.text = text.substr(0, 4) + "-" + text.substr(5, 2) + "-" + text.substr(8, 2) + "T" +
              text.substr(11, 8);
  double fraction = 0.0;
  double scale = 0.1;
  std::size_t digits = 0;
  for (const char c : subSeconds) {
    if (c < '0' || c > '9') break;
    if (digits < 9) fraction += (c - '0') * scale;
    scale /= 10.0;
    ++digits;
  }
  if (digits > 0) time.fraction = fraction;
  return time;
}

SurveyImage surveyImageOf(const ImageRecord& record) {
  SurveyImage image;
  image.parsed = record.parsed();
  if (!image.parsed) return image;
  image.width = record.pixelWidth;
  image.height = record.pixelHeight;
  if (record.focalLength > 0.0 && std::isfinite(record.focalLength)) {
    image.focalLength = record.focalLength;
  }
  if (record.focalLength35mm != 0) image.focalLength35mm = record.focalLength35mm;
  // All zeros is what a camera without GPS tags leaves; 0, 0 with an altitude is a
  // fix written without a position.
  const bool noGps = record.latitude == 0.0 && record.longitude == 0.0 && record.altitude == 0.0;
  if (!noGps && std::fabs(record.latitude) <= 90.0 && std::fabs(record.longitude) <= 180.0) {
    image.latitude = record.latitude;
    image.longitude = record.longitude;
  }
  if (record.details != nullptr) {
    image.time = parseCaptureTime(record.details->captureTime);
  }
  return image;
}
