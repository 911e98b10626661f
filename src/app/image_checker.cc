#include "app/image_checker.h"

#include "checks/checks.h"
#include "checks/file_name.h"
#include "report/error_report.h"
#include "scan/image_scan.h"

namespace {

Offending record(Offending offending, const ImageRecords& images, std::vector<std::string>& list,
                 bool& flag) {
  for (std::size_t index : offending) list.emplace_back(fileNameOf(images.path(index)));
  if (!offending.empty()) flag = true;
  return offending;
}

}  // namespace

ScannedImages ImageChecker::scanImageFolder(const std::string& folder,
                                            const std::string& outputFolder) const {
  return ::scanImageFolder(folder, OwnFile{outputFolder, kReportFileName}, console_);
}

Offending ImageChecker::checkResolution(ImageRecords& images, std::vector<std::string>& list,
                                        bool& flag) const {
  return record(resolutionCheck(images, console_), images, list, flag);
}

Offending ImageChecker::checkCameraMake(ImageRecords& images, std::vector<std::string>& list,
                                        bool& flag) const {
  return record(cameraMakeCheck(images, console_), images, list, flag);
}

Offending ImageChecker::checkFocalLength(ImageRecords& images, std::vector<std::string>& list,
                                         bool& flag) const {
  return record(focalLengthCheck(images, console_), images, list, flag);
}

Offending ImageChecker::checkGps(ImageRecords& images, std::vector<std::string>& list,
                                 bool& flag) const {
  return record(gpsCheck(images, console_), images, list, flag);
}

bool ImageChecker::writeErrorReport(const CheckResults& results, const std::string& outputFolder,
                                    const CheckFlags& flags) const {
  return publishReport(errorReportText(results, flags), outputFolder, console_);
}

bool ImageChecker::writeNoImagesReport(const std::string& outputFolder) const {
  return publishReport(noImagesReportText(), outputFolder, console_);
}
