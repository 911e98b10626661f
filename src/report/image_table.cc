#include "report/image_table.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <string_view>
#include <vector>

#include "checks/checks.h"
#include "report/image_fields.h"
#include "report/json_values.h"
#include "report/survey_report.h"
#include "survey/survey_kinds.h"
#include "common/numbers.h"

// The table's columns, as the header names them: a name, and whether the cells hold
// words (from the file or ours) rather than numbers, which a spreadsheet could take for
// a formula.
const TableColumn kImageTableColumns[] = {
    {"file", true},
    {"status", true},
    {"reason", true},
    {"width", false},
    {"height", false},
    {"make", true},
    {"model", true},
    {"capture_time", true},
    {"focal_length_mm", false},
    {"focal_length_35mm", false},
    {"latitude", false},
    {"longitude", false},
    {"altitude_m", false},
    {"codes", false},
    // The decoder's size: after every older column, so that readers by position keep
    // working.
    {"frame_width", false},
    {"frame_height", false},
};
const std::size_t kImageTableColumnCount = std::size(kImageTableColumns);

namespace {

// One CSV line: a field in quotes when it holds a comma, a quote or a line break, with
// its quotes doubled; a text that a spreadsheet would take for a formula made inert.
// The survey's columns follow the image's.
bool isTextColumn(std::size_t column) {
  if (column < kImageTableColumnCount) return kImageTableColumns[column].text;
  return kSurveyColumns[column - kImageTableColumnCount].text;
}

void appendRow(const std::vector<std::string>& fields, std::string& table) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) table += ',';
    const std::string field = isTextColumn(i) ? inertTextCell(fields[i]) : fields[i];
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
      table += field;
      continue;
    }
    table += '"';
    for (const char c : field) {
      if (c == '"') table += '"';
      table += c;
    }
    table += '"';
  }
  table += "\r\n";
}

std::string statusOf(const ImageRecord& record) {
  if (!record.read()) return "not read";
  if (record.parsed()) return "ok";
  // An unknown file may be a damaged photograph: it is not said to be no image.
  if (isImage(record.kind) || record.kind == FileKind::unknown) return "not parsed";
  return std::string("not an image: ") + describe(record.kind);
}

// The status of a file that is no image says all there is to say.
std::string reasonOf(const ImageRecord& record) {
  if (!record.read()) return describe(record.skipped);
  if (record.parsed()) return positionNote(record);
  if (record.kind == FileKind::bigTiff) return describe(record.kind);
  if (record.kind == FileKind::unknown) return "neither a JPEG nor a TIFF file";
  return isImage(record.kind) ? describe(record.status) : "";
}

}  // namespace

std::vector<std::string> imageTableFields(const std::string& file, const ImageRecord& record,
                                          const std::vector<int>& codes) {
  std::vector<std::string> fields{file, statusOf(record), reasonOf(record)};
  fields.resize(kImageTableColumnCount);
  if (record.parsed()) {
    fields[3] = std::to_string(record.pixelWidth);
    fields[4] = std::to_string(record.pixelHeight);
    fields[5] = makeText(record.make);
    if (record.details != nullptr) {
      fields[6] = fileText(record.details->model);
      fields[7] = captureTimeText(record.details->captureTime);
    }
    fields[8] = decimalText(record.focalLength, kMetrePlaces);
    if (record.focalLength35mm != 0) fields[9] = std::to_string(record.focalLength35mm);
    if (hasShownPosition(record)) {
      fields[10] = decimalText(record.latitude, kDegreePlaces);
      fields[11] = decimalText(record.longitude, kDegreePlaces);
      fields[12] = decimalText(record.altitude, kMetrePlaces);
    }
  }
  for (const int code : codes) {
    fields[13] += (fields[13].empty() ? "" : " ") + std::to_string(code);
  }
  if (record.read() && (record.frameWidth != 0 || record.frameHeight != 0)) {
    fields[14] = std::to_string(record.frameWidth);
    fields[15] = std::to_string(record.frameHeight);
  }
  return fields;
}

namespace {

void writeOptional(JsonWriter& writer, const std::optional<double>& value, int places) {
  if (value) {
    writeNumber(writer, *value, places);
  } else {
    writer.Null();
  }
}

// What the survey says of the image, after what was read of it.
void writeSurveyProperties(JsonWriter& writer, const SurveyOfRun& survey, std::size_t index) {
  const SurveyImage none;
  const SurveyImageFacts nothing;
  const bool surveyed = index < survey.images.size() && index < survey.result.perImage.size();
  const SurveyImage& image = surveyed ? survey.images[index] : none;
  const SurveyImageFacts& facts = surveyed ? survey.result.perImage[index] : nothing;
  writer.Key(kSurveyColumns[0].name);
  writeOptional(writer, image.relativeAltitude, kMetrePlaces);
  writer.Key(kSurveyColumns[1].name);
  writeOptional(writer, image.gimbalPitch, 1);
  writer.Key(kSurveyColumns[2].name);
  if (facts.flight) {
    writer.Uint64(*facts.flight);
  } else {
    writer.Null();
  }
  writer.Key(kSurveyColumns[3].name);
  writeOptional(writer, facts.overlapPrevious, 2);
  writer.Key(kSurveyColumns[4].name);
  writer.StartArray();
  for (const std::size_t kind : facts.kinds) writer.String(kSurveyKinds[kind].name);
  writer.EndArray();
}

}  // namespace

std::string inertTextCell(const std::string& text) {
  if (text.empty() || std::string_view("=+-@\t\r").find(text.front()) == std::string_view::npos) {
    return text;
  }
  return "'" + text;
}

std::string imageTableText(ImageRecords& images, const std::string& inputFolder,
                           const CheckOutcomes& outcomes, const SurveyOfRun& survey) {
  const std::vector<std::vector<int>> codes = reportCodesByImage(outcomes, images.size());
  std::string table;
  std::vector<std::string> header;
  for (const TableColumn& column : kImageTableColumns) header.emplace_back(column.name);
  for (const TableColumn& column : kSurveyColumns) header.emplace_back(column.name);
  appendRow(header, table);
  for (std::size_t index = 0; index < images.size(); ++index) {
    const ImageRecord& record = images.record(index);
    std::vector<std::string> fields =
        imageTableFields(pathBelow(inputFolder, images.path(index)), record, codes[index]);
    const std::vector<std::string> surveyed = surveyFieldsOf(survey, index);
    fields.insert(fields.end(), surveyed.begin(), surveyed.end());
    appendRow(fields, table);
  }
  return table;
}

std::string imageMapText(ImageRecords& images, const std::string& inputFolder,
                         const CheckOutcomes& outcomes, const SurveyOfRun& survey) {
  const std::vector<std::vector<int>> codes = reportCodesByImage(outcomes, images.size());
  rapidjson::StringBuffer buffer;
  JsonWriter writer(buffer);
  writer.StartObject();
  writer.Key("type");
  writer.String("FeatureCollection");
  writer.Key("features");
  writer.StartArray();
  for (std::size_t index = 0; index < images.size(); ++index) {
    const ImageRecord& record = images.record(index);
    if (!hasMapPosition(record)) continue;
    writer.StartObject();
    writer.Key("type");
    writer.String("Feature");
    writer.Key("geometry");
    writer.StartObject();
    writer.Key("type");
    writer.String("Point");
    writer.Key("coordinates");
    writer.StartArray();
    writeNumber(writer, record.longitude, kDegreePlaces);
    writeNumber(writer, record.latitude, kDegreePlaces);
    writeNumber(writer, record.altitude, kMetrePlaces);
    writer.EndArray();
    writer.EndObject();
    writer.Key("properties");
    writer.StartObject();
    writer.Key("file");
    writeString(writer, pathBelow(inputFolder, images.path(index)));
    writer.Key("make");
    writeString(writer, makeText(record.make));
    writer.Key("focal_length_mm");
    writeNumber(writer, record.focalLength, kMetrePlaces);
    writer.Key("focal_length_35mm");
    if (record.focalLength35mm != 0) {
      writer.Uint(record.focalLength35mm);
    } else {
      writer.Null();
    }
    writer.Key("codes");
    writer.StartArray();
    for (const int code : codes[index]) writer.Int(code);
    writer.EndArray();
    writeSurveyProperties(writer, survey, index);
    writer.EndObject();
    writer.EndObject();
  }
  writer.EndArray();
  writer.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}
