#include "report/image_fields.h"

#include <charconv>
#include <cmath>

#include "checks/checks.h"
#include "platform/platform.h"
#include "platform/text.h"

std::string pathBelow(const std::string& inputFolder, const std::string& path) {
  return platform::outsidePathToUtf8(platform::pathInside(inputFolder, path));
}

std::string fileText(const std::string& bytes) {
  return platform::outsideToUtf8(bytes.substr(0, bytes.find('\0')));
}

std::string makeText(const CameraMake& make) {
  if (make.whole()) return fileText(make.kept);
  return fileText(make.kept) + " ... (" + std::to_string(make.length) + " bytes)";
}

std::string captureTimeText(const std::string& bytes) {
  std::string text = fileText(bytes);
  const char* form = "dddd:dd:dd dd:dd:dd";
  if (text.size() != std::char_traits<char>::length(form)) return text;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (form[i] == 'd' ? !digit : text[i] != form[i]) return text;
  }
  text[4] = '-';
  text[7] = '-';
  return text;
}

std::vector<std::vector<int>> reportCodesByImage(const CheckOutcomes& outcomes,
                                                 std::size_t imageCount) {
  std::vector<std::vector<int>> codes(imageCount);
  for (std::size_t row = 0; row < kCheckCount; ++row) {
    if (!outcomes.byCheck[row]) continue;
    for (const std::size_t index : *outcomes.byCheck[row]) {
      codes[index].push_back(kChecks[row].reportCode);
    }
  }
  return codes;
}

bool hasShownPosition(const ImageRecord& record) {
  return record.parsed() && !record.positionUndefined && hasUsablePosition(record);
}

bool hasMapPosition(const ImageRecord& record) {
  return hasShownPosition(record) && std::abs(record.latitude) <= 90.0 &&
         std::abs(record.longitude) <= 180.0 && std::isfinite(record.altitude);
}

const char* positionNote(const ImageRecord& record) {
  if (!record.parsed() || !record.positionUndefined) return "";
  return "no position: a coordinate has a zero denominator";
}

const char* describe(ExifStatus status) {
  switch (status) {
    case ExifStatus::ok:
      return "";
    case ExifStatus::notJpeg:
      return "not a JPEG file";
    case ExifStatus::noExif:
      return "no EXIF block";
    case ExifStatus::badByteOrder:
      return "EXIF block of unknown byte order";
    case ExifStatus::corrupt:
      return "EXIF block damaged";
  }
  return "";
}
