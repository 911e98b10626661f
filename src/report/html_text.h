// Text for an HTML page: whatever an image gives (names, makes, models) is shown as
// text and never read as markup, in element content and in quoted attribute values.
#ifndef PRECHECK_REPORT_HTML_TEXT_H_
#define PRECHECK_REPORT_HTML_TEXT_H_

#include <string>
#include <string_view>

// Appends `text` with & < > " ' as character references. A byte that does not start or
// continue a well-formed UTF-8 character, and a control character, is shown as \xHH,
// so the page stays valid UTF-8 whatever the text holds.
void appendHtml(std::string_view text, std::string& page);

std::string html(std::string_view text);

#endif  // PRECHECK_REPORT_HTML_TEXT_H_
