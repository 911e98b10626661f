// What a hostile run must leave: a verdict, and an error.json that is whole.
#ifndef PRECHECK_TESTS_HOSTILE_REPORT_CHECK_H_
#define PRECHECK_TESTS_HOSTILE_REPORT_CHECK_H_

#include <set>
#include <string>
#include <vector>

// The problems of the bytes of an error.json: not well-formed JSON, not the report's
// shape, or a file name that is not among `names`. Empty when it is sound.
std::vector<std::string> reportProblems(const std::string& bytes,
                                        const std::set<std::string>& names);

#endif  // PRECHECK_TESTS_HOSTILE_REPORT_CHECK_H_
