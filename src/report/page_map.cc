#include "report/page_map.h"

#include <algorithm>
#include <cmath>

#include "report/html_text.h"
#include "report/image_fields.h"
#include "common/numbers.h"

namespace {

constexpr double kWidth = 960.0;
constexpr double kLeastHeight = 320.0;
constexpr double kMostHeight = 720.0;
constexpr double kPadding = 28.0;
// Outliers beyond this many get no label of their own, only a tooltip: labels of
// thousands would hide the map.
constexpr std::size_t kLabelledOutliers = 20;
// A map of more images draws the plain marks of each state as one path of dots, not a
// circle each: 100,000 circles cost Chromium five seconds. Outliers and gaps keep
// theirs, with their names.
constexpr std::size_t kMostMarkElements = 10000;

std::string number(double value) { return decimalText(value, 1); }

// Where the view's metres go on the drawing.
struct Canvas {
  MapView view;
  double height = kLeastHeight;
  double scale = 1.0;  // drawing units per metre
  double left = 0.0, top = 0.0;

  double x(double metres) const { return left + (metres - view.minX) * scale; }
  double y(double metres) const { return top + (view.maxY - metres) * scale; }
};

Canvas canvasFor(const MapView& view) {
  Canvas canvas;
  canvas.view = view;
  const double spanX = view.maxX - view.minX, spanY = view.maxY - view.minY;
  canvas.height = std::clamp(kWidth * spanY / spanX, kLeastHeight, kMostHeight);
  canvas.scale = std::min((kWidth - 2 * kPadding) / spanX, (canvas.height - 2 * kPadding) / spanY);
  // The view grows to the whole drawing, so that outliers sit on its edges.
  const double growX = ((kWidth - 2 * kPadding) / canvas.scale - spanX) / 2;
  const double growY = ((canvas.height - 2 * kPadding) / canvas.scale - spanY) / 2;
  canvas.view.minX -= growX;
  canvas.view.maxX += growX;
  canvas.view.minY -= growY;
  canvas.view.maxY += growY;
  canvas.left = kPadding;
  canvas.top = kPadding;
  return canvas;
}

// 1, 2 or 5 times a power of ten, at most `most`.
double roundLength(double most) {
  const double power = std::pow(10.0, std::floor(std::log10(most)));
  for (const double step : {5.0, 2.0}) {
    if (step * power <= most) return step * power;
  }
  return power;
}

void appendScaleBar(const Canvas& canvas, std::string& svg) {
  const double metres = roundLength((kWidth / 4) / canvas.scale);
  const double length = metres * canvas.scale;
  const double x = kPadding / 2, y = canvas.height - kPadding / 2;
  svg += "<g class=\"scale\"><path d=\"M" + number(x) + " " + number(y - 5) + "v5h" +
         number(length) + "v-5\"/><text x=\"" + number(x + length + 6) + "\" y=\"" +
         number(y) + "\">" + distanceText(metres) + "</text></g>";
}

void appendNorthArrow(std::string& svg) {
  const double x = kWidth - kPadding / 2 - 8, y = kPadding / 2;
  svg += "<g class=\"north\"><path d=\"M" + number(x) + " " + number(y) +
         "l7 20l-7-5l-7 5z\"/><text x=\"" + number(x) + "\" y=\"" + number(y + 34) +
         "\" text-anchor=\"middle\">N</text></g>";
}

// One line per flight, through its marks in the order they were taken.
void appendFlights(const std::vector<MapMark>& marks, const std::vector<MapPoint>& drawn,
                   std::string& svg) {
  std::vector<std::size_t> timed;
  for (std::size_t i = 0; i < marks.size(); ++i) {
    if (marks[i].timed) timed.push_back(i);
  }
  std::stable_sort(timed.begin(), timed.end(), [&](std::size_t a, std::size_t b) {
    return marks[a].seconds < marks[b].seconds;
  });
  std::size_t start = 0;
  while (start < timed.size()) {
    std::size_t end = start + 1;
    while (end < timed.size() &&
           marks[timed[end]].seconds - marks[timed[end - 1]].seconds <= kFlightBreakSeconds) {
      ++end;
    }
    if (end - start >= 2) {
      svg += "<polyline class=\"flight\" points=\"";
      for (std::size_t k = start; k < end; ++k) {
        const MapPoint& point = drawn[timed[k]];
        if (k > start) svg += ' ';
        svg += number(point.x) + "," + number(point.y);
      }
      svg += "\"/>";
    }
    start = end;
  }
}

}  // namespace

const char* markClass(MarkState state) {
  switch (state) {
    case MarkState::passed:
      return "ok";
    case MarkState::check:
      return "ck";
    case MarkState::survey:
      return "sv";
    case MarkState::skipped:
      return "sk";
  }
  return "ok";
}

std::string mapSvg(const std::vector<MapMark>& marks) {
  if (marks.empty()) return std::string();
  std::vector<GeoPosition> positions;
  for (const MapMark& mark : marks) positions.push_back(mark.at);
  const LocalProjection projection = projectionAround(positions);
  std::vector<MapPoint> points;
  for (const GeoPosition& position : positions) points.push_back(project(projection, position));
  const MapView view = robustView(points);
  const Canvas canvas = canvasFor(view);
  // Each mark where it is drawn, in drawing units; outliers on the edge.
  std::vector<MapPoint> drawn;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const MapPoint at = view.outlier[i] ? onEdge(canvas.view, points[i]) : points[i];
    drawn.push_back(MapPoint{canvas.x(at.x), canvas.y(at.y)});
  }
  std::string svg = "<svg id=\"map\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " +
                    number(kWidth) + " " + number(canvas.height) +
                    "\" role=\"img\" aria-label=\"Map of the image positions\">";
  svg += "<rect class=\"ground\" width=\"100%\" height=\"100%\"/>";
  appendFlights(marks, drawn, svg);
  // One group per state; problems drawn last, on top. Only marks people look for carry
  // their name, which keeps the markup of a large passing batch small.
  std::size_t labelled = 0;
  const bool asDots = marks.size() > kMostMarkElements;
  for (const MarkState state :
       {MarkState::passed, MarkState::skipped, MarkState::survey, MarkState::check}) {
    std::string dots;
    std::string group;
    for (std::size_t i = 0; i < marks.size(); ++i) {
      const MapMark& mark = marks[i];
      if (mark.state != state) continue;
      const bool outlier = view.outlier[i];
      if (asDots && !outlier && !mark.gap) {
        dots += "M" + number(drawn[i].x) + " " + number(drawn[i].y) + "h0";
        continue;
      }
      group += outlier    ? "<circle class=\"out\" data-i=\""
               : mark.gap ? "<circle class=\"gap\" data-i=\""
                          : "<circle data-i=\"";
      group += std::to_string(mark.image) + "\" cx=\"" + number(drawn[i].x) + "\" cy=\"" +
               number(drawn[i].y) + "\"";
      const std::string distance =
          outlier ? distanceText(groundDistance(projection.centre, mark.at)) : "";
      if (outlier || state != MarkState::passed) {
        group += "><title>";
        appendHtml(mark.name, group);
        if (outlier) group += ", " + distance + " from the batch";
        group += "</title></circle>";
      } else {
        group += "/>";
      }
      if (outlier && labelled < kLabelledOutliers) {
        ++labelled;
        // Labels point inward, so that one on the right edge stays in sight.
        const bool right = drawn[i].x > kWidth / 2;
        group += "<text class=\"far\" x=\"" + number(drawn[i].x + (right ? -8 : 8)) +
                 "\" y=\"" + number(drawn[i].y + 4) + "\"" +
                 (right ? " text-anchor=\"end\"" : "") + ">" + distance + "</text>";
      }
    }
    if (!dots.empty()) group = "<path class=\"dots\" d=\"" + dots + "\"/>" + group;
    if (group.empty()) continue;
    svg += "<g class=\"m ";
    svg += markClass(state);
    svg += "\">" + group + "</g>";
  }
  appendScaleBar(canvas, svg);
  appendNorthArrow(svg);
  svg += "</svg>";
  return svg;
}
