// Patterns that leave files out of a run, as --ignore gives them: shell-style, matched
// against the path of a file below the input folder with "/" between its parts.
#ifndef PRECHECK_SCAN_IGNORE_PATTERN_H_
#define PRECHECK_SCAN_IGNORE_PATTERN_H_

#include <string_view>

// Whether `path` matches `pattern`, case and all. `*` is any run of characters but "/",
// `?` one character but "/", `**` any run including "/", and a "**/" that starts the
// pattern or follows a "/" also matches no folder at all ("**/*.MRK" matches "a.MRK"
// and "day1/a.MRK"). Every other character matches itself. Time grows with the product
// of the two lengths at most, whatever the stars.
bool matchesIgnorePattern(std::string_view pattern, std::string_view path);

#endif  // PRECHECK_SCAN_IGNORE_PATTERN_H_
