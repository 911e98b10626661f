#include "survey/survey_text.h"

#include <charconv>
#include <cmath>

std::string countText(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

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
