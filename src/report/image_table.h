// The per-image table of --table and the map of --geojson: what was read of every
// image and under which report codes the checks named it, for people to sort, filter and
// draw. Both are written whole, after the checks.
#ifndef PRECHECK_REPORT_IMAGE_TABLE_H_
#define PRECHECK_REPORT_IMAGE_TABLE_H_

#include <cstddef>
#include <string>
#include <vector>

#include "checks/checks.h"
#include "load/image_records.h"
#include "report/survey_report.h"

// The columns of the per-image table, and one image's cells in them: the CSV and the
// page show the same.
extern const TableColumn kImageTableColumns[];
extern const std::size_t kImageTableColumnCount;
std::vector<std::string> imageTableFields(const std::string& file, const ImageRecord& record,
                                          const std::vector<int>& codes);

// CSV after RFC 4180, in UTF-8: a header row, then one row per listed image in list
// order; lines end with CR LF, the survey's columns last. `images` must keep their
// details.
std::string imageTableText(ImageRecords& images, const std::string& inputFolder,
                           const CheckOutcomes& outcomes, const SurveyOfRun& survey);

// A text cell as a spreadsheet shows it rather than runs it: one that begins with "=",
// "+", "-", "@", a tab or a carriage return, which spreadsheets take for the start of a
// formula, gets a leading apostrophe (as OWASP advises against CSV injection). Numbers
// are never passed here: a latitude of "-33.8" stays a number.
std::string inertTextCell(const std::string& text);

// A GeoJSON FeatureCollection with one point per image that has a position to draw,
// in list order.
std::string imageMapText(ImageRecords& images, const std::string& inputFolder,
                         const CheckOutcomes& outcomes, const SurveyOfRun& survey);

#endif  // PRECHECK_REPORT_IMAGE_TABLE_H_
