// The console transcript: every line goes to standard output and is flushed at once,
// because callers read the transcript live.
#ifndef PRECHECK_COMMON_CONSOLE_H_
#define PRECHECK_COMMON_CONSOLE_H_

#include <string_view>

void writeLine(std::string_view text);

#endif  // PRECHECK_COMMON_CONSOLE_H_
