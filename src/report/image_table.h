// The per-image table of --table and the map of --geojson: what was read of every
// image and under which report codes the checks named it, for people to sort, filter and
// draw. Both are written whole, after the checks.
#ifndef PRECHECK_REPORT_IMAGE_TABLE_H_
#define PRECHECK_REPORT_IMAGE_TABLE_H_

#include <string>

#include "checks/checks.h"
#include "load/image_records.h"
#include "report/survey_report.h"

// CSV after RFC 4180, in UTF-8: a header row, then one row per listed image in list
// order; lines end with CR LF, the survey's columns last. `images` must keep their
// details.
std::string imageTableText(ImageRecords& images, const std::string& inputFolder,
                           const CheckOutcomes& outcomes, const SurveyOfRun& survey);

// A GeoJSON FeatureCollection with one point per image that has a position to draw,
// in list order.
std::string imageMapText(ImageRecords& images, const std::string& inputFolder,
                         const CheckOutcomes& outcomes, const SurveyOfRun& survey);

#endif  // PRECHECK_REPORT_IMAGE_TABLE_H_
