// What `precheck --help` and `precheck --version` print.
#ifndef PRECHECK_APP_USAGE_H_
#define PRECHECK_APP_USAGE_H_

#include <string>

// Lines of ASCII, the last one without its line break.
std::string usageText();

// "precheck" and the version the build was made with.
const char* versionText();

#endif  // PRECHECK_APP_USAGE_H_
