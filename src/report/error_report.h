// error.json: compact JSON that tells the calling pipeline what is wrong with a batch.
#ifndef PRECHECK_REPORT_ERROR_REPORT_H_
#define PRECHECK_REPORT_ERROR_REPORT_H_

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "checks/checks.h"
#include "common/console.h"
#include "load/image_records.h"

// The report's name in the output folder.
inline constexpr char kReportFileName[] = "error.json";
// The bytes of error.json, and where the file names are in them: bytes from outside,
// which a console for people shows unlike the rest.
struct ReportText {
  std::string json;
  std::vector<std::pair<std::size_t, std::size_t>> names;  // offset and length, escaped
};

// {"errors":[...]} with one entry per check that named images, in table order, each
// listing the file names of its images in the order the check named them. A name may
// repeat: two subfolders can hold files of the same name.
ReportText errorReportText(const CheckOutcomes& outcomes, const ImageRecords& images);

// {"errors":[...]} with the single entry 105: no image was found.
ReportText noImagesReportText();

// Echoes the report and writes it to error.json in `outputFolder`, saying so in one
// line when the file cannot be written. Returns whether it was written.
bool publishReport(const ReportText& report, const std::string& outputFolder, Console& console);

#endif  // PRECHECK_REPORT_ERROR_REPORT_H_
