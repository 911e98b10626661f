// The values the JSON files for tools (the map, the survey) write the same way.
#ifndef PRECHECK_REPORT_JSON_VALUES_H_
#define PRECHECK_REPORT_JSON_VALUES_H_

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <string>

#include "common/numbers.h"

using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

inline void writeString(JsonWriter& writer, const std::string& text) {
  writer.String(text.c_str(), static_cast<rapidjson::SizeType>(text.size()));
}

// A number as the table writes it, or null when it is not finite: JSON has no such
// numbers.
inline void writeNumber(JsonWriter& writer, double value, int places) {
  const std::string text = decimalText(value, places);
  if (text.empty()) {
    writer.Null();
  } else {
    writer.RawValue(text.c_str(), text.size(), rapidjson::kNumberType);
  }
}

#endif  // PRECHECK_REPORT_JSON_VALUES_H_
