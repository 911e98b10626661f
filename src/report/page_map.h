// The map of the page: every located image as a mark coloured by its state, the flights
// as lines in time order, with a scale bar and a north arrow, drawn as inline SVG.
#ifndef PRECHECK_REPORT_PAGE_MAP_H_
#define PRECHECK_REPORT_PAGE_MAP_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "report/map_view.h"

enum class MarkState { passed, check, survey, skipped };

// The class of a mark in that state, which the page's legend and style share.
const char* markClass(MarkState state);

struct MapMark {
  std::size_t image = 0;  // its index in the run's list, shown as data-i
  GeoPosition at;
  MarkState state = MarkState::passed;
  bool gap = false;  // the survey found too little overlap at it
  bool timed = false;  // whether `seconds` holds its capture time
  std::int64_t seconds = 0;
  std::string name;  // UTF-8, as the table shows it
};

// Marks taken within this many seconds of each other belong to one flight.
inline constexpr std::int64_t kFlightBreakSeconds = 600;

// The <svg> element; an empty text when no mark is given.
std::string mapSvg(const std::vector<MapMark>& marks);

#endif  // PRECHECK_REPORT_PAGE_MAP_H_
