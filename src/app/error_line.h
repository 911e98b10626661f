// Lines of diagnostics on standard error. Each starts with "precheck: ", which tells
// them from anything else on standard error (a sanitizer's report, for one).
#ifndef PRECHECK_APP_ERROR_LINE_H_
#define PRECHECK_APP_ERROR_LINE_H_

#include <string>

// Bytes from outside (a path, a key, a value) for one line of diagnostics: a control
// byte must not end the line or move the cursor, so each shows as \xHH.
std::string oneLine(const std::string& bytes);

#endif  // PRECHECK_APP_ERROR_LINE_H_
