#include "report/error_report.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <vector>

#include "common/messages.h"
#include "platform/platform.h"

namespace {

using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

// The writer copies bytes as they are and escapes only quotes, backslashes and control
// bytes, so GBK descriptions and file names come out unchanged.
void writeEntry(JsonWriter& writer, int code, const char* description,
                const std::vector<std::string>* images) {
  writer.StartObject();
  writer.Key("errcode");
  writer.Int(code);
  writer.Key("error_des");
  writer.String(description);
  if (images != nullptr) {
    writer.Key("images");
    writer.StartArray();
    for (const std::string& name : *images) writer.String(name.c_str());
    writer.EndArray();
  }
  writer.EndObject();
}

// Builds {"errors":[ ... ]} around the entries that `writeEntries` adds.
template <typename WriteEntries>
std::string reportText(WriteEntries writeEntries) {
  rapidjson::StringBuffer buffer;
  JsonWriter writer(buffer);
  writer.StartObject();
  writer.Key("errors");
  writer.StartArray();
  writeEntries(writer);
  writer.EndArray();
  writer.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize());
}

}  // namespace

std::string errorReportText(const CheckResults& results, const CheckFlags& flags) {
  return reportText([&](JsonWriter& writer) {
    if (flags.resolution) {
      writeEntry(writer, 101, messages::kResolutionMismatch, &results.resolutionImages);
    }
    if (flags.cameraMake) {
      writeEntry(writer, 102, messages::kCameraMakeMismatch, &results.cameraMakeImages);
    }
    if (flags.focalLength) {
      writeEntry(writer, 103, messages::kFocalLengthZero, &results.focalLengthImages);
    }
    if (flags.gps) writeEntry(writer, 104, messages::kNoGps, &results.gpsImages);
  });
}

std::string noImagesReportText() {
  return reportText(
      [](JsonWriter& writer) { writeEntry(writer, 105, messages::kNoImages, nullptr); });
}

void publishReport(const std::string& text, const std::string& outputFolder, Console& console) {
  console.writeLine({outside(text)});
  const std::string path = platform::joinPath(outputFolder, kReportFileName);
  if (!platform::replaceFile(path, text)) {
    console.writeLine({own(messages::kReportNotWritten), outside(path)});
  }
}
