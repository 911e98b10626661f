#ifndef PRECHECK_CHECKS_FILE_NAME_H_
#define PRECHECK_CHECKS_FILE_NAME_H_

#include <string>

// The text behind the last "/" or "\" of `path` (the whole path when it has none):
// what the console and error.json show of an image.
std::string fileNameOf(const std::string& path);

#endif  // PRECHECK_CHECKS_FILE_NAME_H_
