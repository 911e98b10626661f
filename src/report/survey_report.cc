#include "report/survey_report.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "common/in_two_parts.h"
#include "platform/platform.h"
#include "report/image_fields.h"
#include "report/json_values.h"
#include "survey/survey_image.h"
#include "survey/survey_kinds.h"
#include "common/numbers.h"

namespace {

// Below this many images a second thread costs more than it saves.
constexpr std::size_t kImagesWorthAThread = 2000;

void writeFlights(JsonWriter& writer, const SurveyOfRun& survey) {
  writer.StartArray();
  for (const SurveyFlight& flight : survey.result.flights) {
    writer.StartObject();
    writer.Key("first");
    writeString(writer, survey.images[flight.first].path);
    writer.Key("last");
    writeString(writer, survey.images[flight.last].path);
    writer.Key("images");
    writer.Uint64(flight.images);
    writer.Key("start");
    writeString(writer, flight.start);
    writer.Key("median_height_m");
    if (flight.medianHeightM) {
      writeNumber(writer, *flight.medianHeightM, 1);
    } else {
      writer.Null();
    }
    writer.EndObject();
  }
  writer.EndArray();
}

void writeFindings(JsonWriter& writer, const SurveyOfRun& survey) {
  writer.StartArray();
  for (const SurveyFinding& finding : survey.result.findings) {
    writer.StartObject();
    writer.Key("kind");
    writer.String(kSurveyKinds[finding.kind].name);
    writer.Key("images");
    writer.StartArray();
    for (const std::size_t index : finding.images) writeString(writer, survey.images[index].path);
    writer.EndArray();
    writer.Key("detail");
    writeString(writer, finding.detail);
    for (const SurveyNumber& number : finding.numbers) {
      writer.Key(number.name);
      writeNumber(writer, number.value, number.places);
    }
    writer.EndObject();
  }
  writer.EndArray();
}

}  // namespace

std::string withSlashes(std::string path) {
  static const std::string separator = [] {
    const std::string joined = platform::joinPath("a", "b");
    return joined.substr(1, joined.size() - 2);
  }();
  if (separator == "/") return path;
  for (std::size_t at = path.find(separator); at != std::string::npos;
       at = path.find(separator, at + 1)) {
    path.replace(at, separator.size(), "/");
  }
  return path;
}

std::string surveyPathOf(const std::string& inputFolder, const std::string& path) {
  return withSlashes(pathBelow(inputFolder, path));
}

SurveyImages surveyImagesOf(ImageRecords& images, const std::string& inputFolder) {
  // Taken here, in list order, as records are; read on two threads below.
  std::vector<const ImageRecord*> records(images.size());
  for (std::size_t index = 0; index < images.size(); ++index) {
    records[index] = &images.record(index);
  }
  SurveyImages survey(images.size());
  inTwoParts(survey.size(), kImagesWorthAThread, [&](std::size_t begin, std::size_t end) {
    for (std::size_t index = begin; index < end; ++index) {
      survey[index] = surveyImageOf(*records[index]);
      survey[index].path = surveyPathOf(inputFolder, images.path(index));
    }
  });
  return survey;
}

SurveyOfRun surveyOfRun(ImageRecords& images, const std::string& inputFolder,
                        const SurveySettings& settings) {
  SurveyOfRun survey;
  survey.images = surveyImagesOf(images, inputFolder);
  survey.result = surveyBatch(survey.images, settings);
  return survey;
}

std::string surveyJsonText(const SurveyOfRun& survey) {
  rapidjson::StringBuffer buffer;
  JsonWriter writer(buffer);
  writer.StartObject();
  writer.Key("images");
  writer.Uint64(survey.result.images);
  writer.Key("flights");
  writeFlights(writer, survey);
  writer.Key("findings");
  writeFindings(writer, survey);
  writer.Key("not_computed");
  writer.StartArray();
  for (const NotComputed& entry : survey.result.notComputed) {
    writer.StartObject();
    writer.Key("kind");
    writer.String(kSurveyKinds[entry.kind].name);
    writer.Key("reason");
    writeString(writer, entry.reason);
    writer.EndObject();
  }
  writer.EndArray();
  writer.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

const TableColumn kSurveyColumns[5] = {{"height_above_takeoff_m", false},
                                       {"gimbal_pitch_deg", false},
                                       {"flight", false},
                                       {"overlap_previous", false},
                                       {"survey", true}};

std::vector<std::string> surveyFieldsOf(const SurveyOfRun& survey, std::size_t index) {
  std::vector<std::string> fields(std::size(kSurveyColumns));
  if (index >= survey.images.size() || index >= survey.result.perImage.size()) return fields;
  const SurveyImage& image = survey.images[index];
  const SurveyImageFacts& facts = survey.result.perImage[index];
  if (image.relativeAltitude) fields[0] = decimalText(*image.relativeAltitude, kMetrePlaces);
  if (image.gimbalPitch) fields[1] = decimalText(*image.gimbalPitch, 1);
  if (facts.flight) fields[2] = std::to_string(*facts.flight);
  if (facts.overlapPrevious) fields[3] = decimalText(*facts.overlapPrevious, 2);
  for (const std::size_t kind : facts.kinds) {
    fields[4] += (fields[4].empty() ? "" : " ") + std::string(kSurveyKinds[kind].name);
  }
  return fields;
}
