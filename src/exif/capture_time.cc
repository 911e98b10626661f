#include "exif/capture_time.h"

#include <cstdio>

namespace {

// The value of the `count` digits at `at`, or -1 when one is not a digit.
int digitsAt(std::string_view text, std::size_t at, std::size_t count) {
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool leapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(int year, int month, int day) {
  const std::int64_t y = month <= 2 ? year - 1 : year;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(std::int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shifted = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
  month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

std::optional<CaptureTime> parseCaptureTime(std::string_view dateTime,
                                            std::string_view subSeconds) {
  // Cameras pad the value with NULs or spaces; what follows the seconds is ignored.
  if (dateTime.size() < 19) return std::nullopt;
  const char dateMark = dateTime[4];
  if ((dateMark != ':' && dateMark != '-') || dateTime[7] != dateMark ||
      (dateTime[10] != ' ' && dateTime[10] != 'T') || dateTime[13] != ':' ||
      dateTime[16] != ':') {
    return std::nullopt;
  }
  const int year = digitsAt(dateTime, 0, 4);
  const int month = digitsAt(dateTime, 5, 2);
  const int day = digitsAt(dateTime, 8, 2);
  const int hour = digitsAt(dateTime, 11, 2);
  const int minute = digitsAt(dateTime, 14, 2);
  const int second = digitsAt(dateTime, 17, 2);
  if (year < 1 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 ||
      minute < 0 || minute > 59 || second < 0 || second > 60) {
    return std::nullopt;
  }
  if (day > daysInMonth(year, month)) return std::nullopt;

  CaptureTime time;
  time.seconds = daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  // The sub-seconds are a decimal fraction; digits past the ninth add nothing here.
  std::size_t digits = 0;
  while (digits < subSeconds.size() && subSeconds[digits] >= '0' && subSeconds[digits] <= '9') {
    ++digits;
  }
  const std::string_view rest = subSeconds.substr(digits);
  if (digits > 0 && rest.find_first_not_of(std::string_view(" \0", 2)) == std::string_view::npos) {
    std::uint32_t scale = 100000000;
    for (std::size_t i = 0; i < digits && i < 9; ++i, scale /= 10) {
      time.nanoseconds += static_cast<std::uint32_t>(subSeconds[i] - '0') * scale;
    }
    time.hasSubSeconds = true;
  }
  return time;
}

std::string isoText(const CaptureTime& time) {
  std::int64_t days = time.seconds / 86400;
  std::int64_t inDay = time.seconds % 86400;
  if (inDay < 0) {
    inDay += 86400;
    --days;
  }
  int year = 0;
  int month = 0;
  int day = 0;
  civilFromDays(days, year, month, day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", year, month, day,
                static_cast<int>(inDay / 3600), static_cast<int>(inDay / 60 % 60),
                static_cast<int>(inDay % 60));
  return text;
}
