#include "app/image_checker.h"

#include "checks/checks.h"
#include "checks/file_name.h"
#include "report/error_report.h"
#include "scan/image_scan.h"

namespace {

void record(const Offending& offending, const ImageRecords& images, std::vector<std::string>& list,
            bool& flag) {
  for (std::size_t index : offending) list.push_back(fileNameOf(images.path(index)));
  if (!offending.empty()) flag = true;
}

}  // namespace

ScannedImages ImageChecker::scanImageFolder(const std::string& folder,
                                            const std::string& outputFolder) const {
  return ::scanImageFolder(folder, OwnFile{outputFolder, kReportFileName}, console_);
}

void ImageChecker::checkResolution(ImageRecords& images, std::vector<std::string>& list,
                                   bool& flag) const {
  record(resolutionCheck(images, console_), images, list, flag);
}

void ImageChecker::checkCameraMake(ImageRecords& images, std::vector<std::string>& list,
                                   bool& flag) const {
  record(cameraMakeCheck(images, console_), images, list, flag);
}

void ImageChecker::checkFocalLength(ImageRecords& images, std::vector<std::string>& list,
                                    bool& flag) const {
  record(focalLengthCheck(images, console_), images, list, flag);
}

void ImageChecker::checkGps(ImageRecords& images, std::vector<std::string>& list,
                            bool& flag) const {
  record(gpsCheck(images, console_), images, list, flag);
}

void ImageChecker::writeErrorReport(const CheckResults& results, const std::string& outputFolder,
                                    const CheckFlags& flags) const {
  publishReport(errorReportText(results, flags), outputFolder, console_);
}

void ImageChecker::writeNoImagesReport(const std::string& outputFolder) const {
  publishReport(noImagesReportText(), outputFolder, console_);
}
