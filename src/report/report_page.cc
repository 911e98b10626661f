#include "report/report_page.h"

#include <cstddef>
#include <vector>

#include "common/sha256.h"
#include "platform/text.h"
#include "report/html_text.h"
#include "report/image_fields.h"
#include "report/image_table.h"
#include "report/page_map.h"
#include "report/page_survey.h"
#include "report/survey_report.h"

namespace {

// Marks a script error on the page, so that a test (or a person with the inspector)
// sees one without a console.
const char kErrorScript[] =
    "addEventListener('error',function(){"
    "document.documentElement.setAttribute('data-script-error','1')});";

// Sorts the table by the column whose heading is clicked; numbers as numbers. The page
// reads the same without it.
const char kSortScript[] =
    "(function(){var t=document.getElementById('images');if(!t)return;"
    "var b=t.tBodies[0],h=t.tHead.rows[0].cells,k=-1,up=true;"
    "function v(r,i){var s=r.cells[i].textContent,n=parseFloat(s);"
    "return s!==''&&isFinite(s)?n:s;}"
    "for(var i=0;i<h.length;i++)(function(i){h[i].addEventListener('click',function(){"
    "up=k===i?!up:true;k=i;var rs=Array.prototype.slice.call(b.rows);"
    "rs.sort(function(a,c){var x=v(a,i),y=v(c,i);"
    "if(typeof x!==typeof y){x=String(x);y=String(y);}"
    "return (x<y?-1:x>y?1:0)*(up?1:-1);});"
    "var f=document.createDocumentFragment();rs.forEach(function(r){f.appendChild(r);});"
    "b.appendChild(f);});})(i);})();";

const char kStyle[] =
    "body{font:14px/1.4 system-ui,sans-serif;margin:1.5em auto;max-width:1000px;"
    "padding:0 1em;color:#222}"
    "h1{font-size:1.6em;margin:.2em 0}h2{margin-top:1.6em;border-bottom:1px solid #ccc}"
    ".pass{color:#1a7f37}.fail{color:#b42318}"
    "#map{width:100%;height:auto;border:1px solid #bbb}"
    "#map .ground{fill:#f7f7f2}#map .flight{fill:none;stroke:#7a8ca3;stroke-width:1.2}"
    "#map circle{r:4px;stroke:#fff;stroke-width:1}"
    "#map .dots{fill:none;stroke:currentColor;stroke-width:8;stroke-linecap:round}"
    "#map .out{stroke:#000;stroke-width:1.5}#map .gap{stroke:#7a3db8;stroke-width:2.5}#map .far{fill:#222}"
    "#map .scale path{fill:none;stroke:#222;stroke-width:2}#map text{font-size:13px}"
    "#map .north path{fill:#222}"
    ".ok{fill:#2e9e4f;background:#2e9e4f;color:#2e9e4f}"
    ".ck{fill:#d92d20;background:#d92d20;color:#d92d20}"
    ".sv{fill:#e8a317;background:#e8a317;color:#e8a317}.sk{fill:#888;background:#888;color:#888}"
    ".key{display:inline-block;width:.8em;height:.8em;border-radius:50%;"
    "margin:0 .3em 0 1em;vertical-align:-.05em}"
    "pre.names{columns:18em;font-size:.85em;white-space:pre-wrap;margin:0}"
    // Blocks of a long list out of sight take about their room until they are laid
    // out, and then their own.
    "pre.long{content-visibility:auto;contain-intrinsic-size:auto 2100px}"
    "pre.rows.long{contain-intrinsic-size:auto 7840px}"
    "table{border-collapse:collapse;font-size:.85em;width:100%}"
    "th,td{border:1px solid #ddd;padding:1px 4px;text-align:left}"
    "th{background:#eee;cursor:pointer;position:sticky;top:0}"
    "tr.pr td{background:#fdecea}pre.rows{font-size:.8em;tab-size:4;overflow-x:auto;margin:0}"
    "@media print{body{max-width:none;font-size:10pt}th{position:static}"
    "h2{break-after:avoid}#map{break-inside:avoid}tr{break-inside:avoid}"
    "pre.long{content-visibility:visible}}";

std::string base64(const Sha256Digest& digest) {
  const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < digest.size(); i += 3) {
    const std::size_t left = digest.size() - i;
    const unsigned bits = static_cast<unsigned>(digest[i]) << 16 |
                          (left > 1 ? static_cast<unsigned>(digest[i + 1]) << 8 : 0U) |
                          (left > 2 ? static_cast<unsigned>(digest[i + 2]) : 0U);
    text += alphabet[bits >> 18 & 63];
    text += alphabet[bits >> 12 & 63];
    text += left > 1 ? alphabet[bits >> 6 & 63] : '=';
    text += left > 2 ? alphabet[bits & 63] : '=';
  }
  return text;
}

// The policy lets the page run only its own two scripts and load nothing: were a name
// ever to slip through as markup, the browser would still refuse to run or fetch it.
std::string securityPolicy() {
  std::string policy = "default-src 'none'; style-src 'unsafe-inline'; script-src";
  for (const char* script : {kErrorScript, kSortScript}) {
    Sha256 hash;
    hash.add(script);
    policy += " 'sha256-" + base64(hash.finish()) + "'";
  }
  return policy;
}

std::string counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// What the page shows of each image, worked out once.
struct PageImage {
  std::string name;  // UTF-8
  std::vector<int> codes;
  bool surveyed = false;  // named by a survey finding
  bool gap = false;       // named by a finding of a gap in overlap
  bool problem = false;   // not read, not parsed, or named by a check or the survey
};

std::vector<PageImage> pageImages(const PageFacts& facts) {
  const std::vector<std::vector<int>> codes =
      reportCodesByImage(facts.checks, facts.images.size());
  std::vector<PageImage> images(facts.images.size());
  for (std::size_t index = 0; index < images.size(); ++index) {
    PageImage& image = images[index];
    image.name = surveyPathOf(facts.inputFolder, facts.images.path(index));
    image.codes = codes[index];
    if (facts.survey != nullptr) {
      const SurveyMarks marks = surveyMarksOf(*facts.survey, index);
      image.surveyed = marks.named;
      image.gap = marks.gap;
    }
    image.problem =
        !facts.images.record(index).parsed() || !image.codes.empty() || image.surveyed;
  }
  return images;
}

void appendVerdict(const PageFacts& facts, const std::vector<PageImage>& images,
                   std::string& page) {
  std::size_t unreadable = 0;
  for (std::size_t index = 0; index < images.size(); ++index) {
    if (!facts.images.record(index).read()) ++unreadable;
  }
  const bool passed = !facts.checks.anyOffending() && !images.empty();
  page += "<header><h1 class=\"";
  page += passed ? "pass\">Passed" : "fail\">Not passed";
  if (passed && !facts.checks.anyRan()) page += ", but no check ran";
  page += "</h1><p>" + counted(images.size(), "image", "images") +
          " below the input folder; " + counted(unreadable, "file", "files") +
          " could not be read.</p>";
  if (images.empty()) page += "<p>There is no file below the input folder.</p>";
  page += "<ul class=\"failed\">";
  for (std::size_t row = 0; row < kCheckCount; ++row) {
    const std::optional<Offending>& named = facts.checks.byCheck[row];
    if (!named || named->empty()) continue;
    page += "<li><a href=\"#check-" + std::to_string(kChecks[row].reportCode) + "\">";
    page += kChecks[row].name;
    page += "</a>: " + counted(named->size(), "image", "images") + " named</li>";
  }
  if (facts.survey != nullptr) appendSurveyVerdict(*facts.survey, page);
  page += "</ul><p>error.json: ";
  if (passed) {
    page += "not written, since the batch passed";
  } else {
    page += facts.reportWritten ? "written to " : "could not be written to ";
    page += "<code>";
    appendHtml(withSlashes(platform::outsidePathToUtf8(facts.reportPath)), page);
    page += "</code>";
  }
  page += "</p></header>";
}

MarkState stateOf(const PageImage& image) {
  if (!image.codes.empty()) return MarkState::check;
  return image.surveyed ? MarkState::survey : MarkState::passed;
}

void appendMap(const PageFacts& facts, const std::vector<PageImage>& images, std::string& page) {
  std::vector<MapMark> marks;
  for (std::size_t index = 0; index < images.size(); ++index) {
    const ImageRecord& record = facts.images.record(index);
    if (!hasMapPosition(record)) continue;
    MapMark mark;
    mark.image = index;
    mark.at = GeoPosition{record.latitude, record.longitude};
    mark.state = stateOf(images[index]);
    mark.gap = images[index].gap;
    // The time the survey orders the flights by, so that the lines join what it joins.
    if (const std::optional<CaptureTime>& time = record.surveyValues().captureTime) {
      mark.timed = true;
      mark.seconds = time->seconds;
    }
    mark.name = images[index].name;
    marks.push_back(std::move(mark));
  }
  page += "<section id=\"positions\"><h2>Map</h2><p>" +
          counted(marks.size(), "image has", "images have") +
          " a position. Lines join the images of a flight in the order they were taken; "
          "a mark with a black ring lies far from the batch and is drawn at the edge, "
          "with its distance.";
  if (facts.survey != nullptr) page += " A purple ring marks a gap in overlap.";
  page += "</p>";
  page += mapSvg(marks);
  page += "<p class=\"legend\"><span class=\"key ok\"></span>passed"
          "<span class=\"key ck\"></span>named by a check"
          "<span class=\"key sv\"></span>named by the survey"
          "<span class=\"key sk\"></span>skipped</p></section>";
}

void appendNames(const Offending& named, const std::vector<PageImage>& images,
                 std::string& page) {
  std::size_t line = 0;
  for (const std::size_t index : named) {
    startLineInBlocks(line++, named.size(), "names", page);
    appendHtml(images[index].name, page);
    page += '\n';
  }
  page += "</pre>";
}

void appendChecks(const PageFacts& facts, const std::vector<PageImage>& images,
                  std::string& page) {
  page += "<section id=\"checks\"><h2>Checks</h2>";
  for (std::size_t row = 0; row < kCheckCount; ++row) {
    const Check& check = kChecks[row];
    const std::optional<Offending>& named = facts.checks.byCheck[row];
    page += "<h3 id=\"check-" + std::to_string(check.reportCode) + "\">";
    page += check.name;
    page += " <small>(code " + std::to_string(check.reportCode) + ")</small></h3><p>";
    if (!named) {
      page += "Not run: its switch is off.</p>";
      continue;
    }
    page += check.kind == CheckKind::consistency
                ? "Names the images that differ from the largest group of equal values, and "
                  "those whose EXIF block cannot be read: "
                : "Names the images without a usable value, and those whose EXIF block "
                  "cannot be read: ";
    page += named->empty() ? "none." : counted(named->size(), "image.", "images.");
    page += "</p>";
    if (!named->empty()) appendNames(*named, images, page);
  }
  page += "</section>";
}

// What the survey found, kind by kind, once the run has a survey.

// Up to this many images the table is an HTML table; a larger batch gets the same rows
// as tab-separated lines, which a browser lays out many times faster.
constexpr std::size_t kMostTableRows = 10000;

// The images' indices, the problem rows first, each part in list order.
std::vector<std::size_t> tableOrder(const std::vector<PageImage>& images) {
  std::vector<std::size_t> order;
  for (const bool problems : {true, false}) {
    for (std::size_t index = 0; index < images.size(); ++index) {
      if (images[index].problem == problems) order.push_back(index);
    }
  }
  return order;
}

void appendTable(const PageFacts& facts, const std::vector<PageImage>& images,
                 std::string& page) {
  const bool asTable = images.size() <= kMostTableRows;
  page += "<section id=\"table\"><h2>Images</h2><p>";
  page += asTable ? "Problem rows first; click a heading to sort.</p><table id=\"images\">"
                    "<thead><tr>"
                  : "Problem rows first, one line per image, the fields separated by tabs.</p>";
  std::size_t line = 0;
  if (!asTable) startLineInBlocks(line++, images.size() + 1, "rows", page);
  for (std::size_t column = 0; column < kImageTableColumnCount; ++column) {
    page += asTable ? "<th>" : column == 0 ? "" : "\t";
    page += kImageTableColumns[column].name;
  }
  page += asTable ? "</thead><tbody>" : "\n";
  for (const std::size_t index : tableOrder(images)) {
    const PageImage& image = images[index];
    if (asTable) {
      page += image.problem ? "<tr class=\"pr\">" : "<tr>";
    } else {
      startLineInBlocks(line++, images.size() + 1, "rows", page);
    }
    bool first = true;
    for (const std::string& field :
         imageTableFields(image.name, facts.images.record(index), image.codes)) {
      page += asTable ? "<td>" : first ? "" : "\t";
      appendHtml(field, page);
      first = false;
    }
    if (!asTable) page += '\n';
  }
  page += asTable ? "</tbody></table></section>" : "</pre></section>";
}

}  // namespace

std::string reportPageText(const PageFacts& facts) {
  const std::vector<PageImage> images = pageImages(facts);
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      "<meta http-equiv=\"Content-Security-Policy\" content=\"" +
      securityPolicy() +
      "\"><meta name=\"viewport\" content=\"width=device-width,initial-scale=1\">"
      "<title>precheck report</title><script>" +
      std::string(kErrorScript) + "</script><style>" + kStyle + "</style></head><body>";
  appendVerdict(facts, images, page);
  appendMap(facts, images, page);
  appendChecks(facts, images, page);
  if (facts.survey != nullptr) {
    std::vector<std::string> names;
    for (const PageImage& image : images) names.push_back(image.name);
    appendSurveySection(*facts.survey, names, page);
  }
  appendTable(facts, images, page);
  page += "<script>" + std::string(kSortScript) + "</script></body></html>\n";
  return page;
}
