// Text for an HTML page: whatever an image gives (names, makes, models) is shown as
// text and never read as markup, in element content and in quoted attribute values.
#ifndef PRECHECK_REPORT_HTML_TEXT_H_
#define PRECHECK_REPORT_HTML_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

// Appends `text` with & < > " ' as character references. A byte that does not start or
// continue a well-formed UTF-8 character, and a control character, is shown as \xHH,
// so the page stays valid UTF-8 whatever the text holds.
void appendHtml(std::string_view text, std::string& page);

std::string html(std::string_view text);

// Long lists (names, the table's rows) go in <pre> blocks of this many lines, which a
// browser lays out only once they come into sight (content-visibility in the page's
// style): one block of 100,000 lines kept Chromium busy for a minute and a half.
constexpr std::size_t kLinesPerBlock = 500;

// Before line `line` (from 0) of such a list of `lines` lines: opens its first block,
// or closes one block and opens the next every kLinesPerBlock lines. The blocks of a
// list of more than one get the class "long" as well. The list ends with "</pre>".
void startLineInBlocks(std::size_t line, std::size_t lines, std::string_view preClass,
                       std::string& page);

#endif  // PRECHECK_REPORT_HTML_TEXT_H_
