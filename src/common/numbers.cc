#include "common/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>

std::string decimalText(double value, int places) {
  if (!std::isfinite(value)) return "";
  char digits[400];  // the largest double in fixed notation, with its decimals
  const std::to_chars_result written =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, places);
  std::string text(digits, written.ptr);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  const std::size_t middle = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle),
                   values.end());
  return values[middle];
}
