// File contents for tests of reading: bytes that differ from place to place and from
// page to page, so that a byte read from the wrong offset shows.
#ifndef PRECHECK_TESTS_SUPPORT_BYTE_PATTERN_H_
#define PRECHECK_TESTS_SUPPORT_BYTE_PATTERN_H_

#include <cstddef>
#include <string>

inline std::string patternOf(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096 + 1);
  return bytes;
}

#endif  // PRECHECK_TESTS_SUPPORT_BYTE_PATTERN_H_
