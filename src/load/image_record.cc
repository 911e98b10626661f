#include "load/image_record.h"

const char* describe(SkipReason reason) {
  switch (reason) {
    case SkipReason::none: return "read";
    case SkipReason::missing: return "it does not exist";
    case SkipReason::notOpenable: return "it cannot be opened";
    case SkipReason::notRegularFile: return "it is not a regular file";
    case SkipReason::empty: return "it is empty";
    case SkipReason::tooLarge: return "it is 2 GiB or larger";
    case SkipReason::unreadable: return "it could not be read";
    case SkipReason::noMemory: return "there was not enough memory to read it";
    case SkipReason::noAnswer: return "no answer from the file system in time";
  }
  return "";
}

bool sizeMismatch(const ImageRecord& record) {
  if (!record.parsed() || (record.frameWidth == 0 && record.frameHeight == 0)) return false;
  return record.pixelWidth != record.frameWidth || record.pixelHeight != record.frameHeight;
}

const SurveyValues& ImageRecord::surveyValues() const {
  static const SurveyValues kNone;
  return details != nullptr ? details->survey : kNone;
}
