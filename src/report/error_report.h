// error.json: compact JSON that tells the calling pipeline what is wrong with a batch.
#ifndef PRECHECK_REPORT_ERROR_REPORT_H_
#define PRECHECK_REPORT_ERROR_REPORT_H_

#include <string>

#include "checks/check_results.h"
#include "common/console.h"

// The report's name in the output folder.
inline constexpr char kReportFileName[] = "error.json";

// {"errors":[...]} with one entry per raised flag, in the order 101 to 104.
std::string errorReportText(const CheckResults& results, const CheckFlags& flags);

// {"errors":[...]} with the single entry 105: no image was found.
std::string noImagesReportText();

// Echoes `text` and writes it to error.json in `outputFolder`, saying so in one line
// when the file cannot be written.
void publishReport(const std::string& text, const std::string& outputFolder, Console& console);

#endif  // PRECHECK_REPORT_ERROR_REPORT_H_
