// Numbers as the files for people and tools show them, whatever the locale, and the one
// statistic several parts of a run take of a batch.
#ifndef PRECHECK_COMMON_NUMBERS_H_
#define PRECHECK_COMMON_NUMBERS_H_

#include <string>
#include <vector>

// `value` with a point for decimals, rounded to `places` and without trailing zeros
// ("-0" shows as "0"); empty when it is not finite, which no format can hold.
std::string decimalText(double value, int places);

// The upper median of `values`; 0 when there are none.
double median(std::vector<double> values);

#endif  // PRECHECK_COMMON_NUMBERS_H_
