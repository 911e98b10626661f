#include "report_check.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

std::vector<std::string> reportProblems(const std::string& bytes,
                                        const std::set<std::string>& names) {
  // GBK texts are not UTF-8, so the encoding is not validated; everything else is.
  rapidjson::Document report;
  report.Parse(bytes.data(), bytes.size());
  if (report.HasParseError()) {
    return {std::string("not JSON: ") + rapidjson::GetParseError_En(report.GetParseError()) +
            " at byte " + std::to_string(report.GetErrorOffset())};
  }
  if (!report.IsObject() || report.MemberCount() != 1 || !report.HasMember("errors") ||
      !report["errors"].IsArray()) {
    return {"not an object holding the errors array alone"};
  }
  std::vector<std::string> problems;
  for (const auto& entry : report["errors"].GetArray()) {
    if (!entry.IsObject() || !entry.HasMember("errcode") || !entry["errcode"].IsInt() ||
        !entry.HasMember("error_des") || !entry["error_des"].IsString()) {
      problems.push_back("an entry without its code and description");
      continue;
    }
    const int code = entry["errcode"].GetInt();
    if (code == 105) continue;
    if (code < 101 || code > 104 || !entry.HasMember("images") || !entry["images"].IsArray()) {
      problems.push_back("entry " + std::to_string(code) + " without its images");
      continue;
    }
    for (const auto& image : entry["images"].GetArray()) {
      const std::string name = image.IsString()
                                   ? std::string(image.GetString(), image.GetStringLength())
                                   : std::string();
      if (names.count(name) == 0) problems.push_back("a name not in the batch: " + name);
    }
  }
  return problems;
}
