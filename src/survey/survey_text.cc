#include "survey/survey_text.h"

#include <charconv>
#include <cmath>

std::string countText(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

