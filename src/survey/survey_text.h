// The words and numbers of the survey's sentences, the same in every locale.
#ifndef PRECHECK_SURVEY_SURVEY_TEXT_H_
#define PRECHECK_SURVEY_SURVEY_TEXT_H_

#include <cstddef>
#include <string>

// "1 image has", "3 images have".
std::string countText(std::size_t count, const char* one, const char* many);


#endif  // PRECHECK_SURVEY_SURVEY_TEXT_H_
