// Visits every regular file below a folder, at any depth, in the order the file
// system lists them: the walk of the benchmark's helper programs.
#ifndef PRECHECK_BENCH_WALK_FILES_H_
#define PRECHECK_BENCH_WALK_FILES_H_

#include <functional>
#include <string>

// Returns false when a folder cannot be listed.
bool walkFiles(const std::string& folder, const std::function<void(const std::string&)>& visit);

#endif  // PRECHECK_BENCH_WALK_FILES_H_
