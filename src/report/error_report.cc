#include "report/error_report.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <vector>

#include "checks/file_name.h"
#include "common/messages.h"
#include "platform/platform.h"

namespace {

using JsonWriter = rapidjson::Writer<rapidjson::StringBuffer>;

// The report being written, and the file names written so far.
struct ReportWriter {
  rapidjson::StringBuffer buffer;
  JsonWriter writer{buffer};
  std::vector<std::pair<std::size_t, std::size_t>> names;

  // Writes a file name and notes where its bytes are: between the quotes, behind the
  // comma that may come first.
  void name(std::string_view text) {
    const std::size_t before = buffer.GetSize();
    // Up to a NUL, as the names were always written.
    const std::string_view written = text.substr(0, text.find('\0'));
    writer.String(written.data(), static_cast<rapidjson::SizeType>(written.size()));
    const std::size_t opening = buffer.GetString()[before] == ',' ? before + 1 : before;
    names.emplace_back(opening + 1, buffer.GetSize() - opening - 2);
  }
};

// The writer copies bytes as they are and escapes only quotes, backslashes and control
// bytes, so GBK descriptions and file names come out unchanged.
void writeEntry(ReportWriter& report, int code, const char* description,
                const Offending* offending, const ImageRecords* images) {
  JsonWriter& writer = report.writer;
  writer.StartObject();
  writer.Key("errcode");
  writer.Int(code);
  writer.Key("error_des");
  writer.String(description);
  if (offending != nullptr) {
    writer.Key("images");
    writer.StartArray();
    for (const std::size_t index : *offending) report.name(fileNameOf(images->path(index)));
    writer.EndArray();
  }
  writer.EndObject();
}

// Builds {"errors":[ ... ]} around the entries that `writeEntries` adds.
template <typename WriteEntries>
ReportText reportText(WriteEntries writeEntries) {
  ReportWriter report;
  report.writer.StartObject();
  report.writer.Key("errors");
  report.writer.StartArray();
  writeEntries(report);
  report.writer.EndArray();
  report.writer.EndObject();
  return ReportText{std::string(report.buffer.GetString(), report.buffer.GetSize()),
                    std::move(report.names)};
}

}  // namespace

ReportText errorReportText(const CheckOutcomes& outcomes, const ImageRecords& images) {
  return reportText([&](ReportWriter& writer) {
    for (std::size_t row = 0; row < kCheckCount; ++row) {
      const std::optional<Offending>& offending = outcomes.byCheck[row];
      if (!offending || offending->empty()) continue;
      const Check& check = kChecks[row];
      writeEntry(writer, check.reportCode, check.reportDescription, &*offending, &images);
    }
  });
}

ReportText noImagesReportText() {
  return reportText(
      [](ReportWriter& writer) { writeEntry(writer, 105, messages::kNoImages, nullptr, nullptr); });
}

bool publishReport(const ReportText& report, const std::string& outputFolder, Console& console) {
  // One line of the program's own JSON and the names in it.
  const std::string_view json = report.json;
  std::vector<Piece> echo;
  std::size_t done = 0;
  for (const auto& [offset, length] : report.names) {
    echo.push_back(own(json.substr(done, offset - done)));
    echo.push_back(outside(json.substr(offset, length)));
    done = offset + length;
  }
  echo.push_back(own(json.substr(done)));
  console.writeLine(echo);
  const std::string path = platform::joinPath(outputFolder, kReportFileName);
  if (platform::replaceFile(path, report.json)) return true;
  console.writeLine({own(messages::kReportNotWritten), outside(path)});
  return false;
}
