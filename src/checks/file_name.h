#ifndef PRECHECK_CHECKS_FILE_NAME_H_
#define PRECHECK_CHECKS_FILE_NAME_H_

#include <string>
#include <string_view>

// The text behind the last "/" or "\" of `path` (the whole path when it has none):
// what the console and error.json show of an image. A view into `path`: each check
// shows every name, and no copy is needed for that.
std::string_view fileNameOf(const std::string& path);

#endif  // PRECHECK_CHECKS_FILE_NAME_H_
