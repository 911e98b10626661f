// Damaged variants of one JPEG file, the kinds that cut-off copies, bad writers and
// hostile files produce. Each function returns whole files; none reads the result.
#ifndef PRECHECK_TESTS_HOSTILE_DAMAGE_H_
#define PRECHECK_TESTS_HOSTILE_DAMAGE_H_

#include <random>
#include <string>
#include <vector>

// `count` copies with 1 to 8 bits flipped, mostly in the first 64 KiB, where the
// EXIF block lies.
std::vector<std::string> bitFlips(const std::string& file, int count, std::mt19937& random);

// The file cut at every JPEG segment boundary and inside each segment header, each
// cut once as it is and once closed with an end-of-image marker.
std::vector<std::string> segmentCuts(const std::string& file);

// `count` copies with random entry counts of IFD0 and the EXIF sub-IFD, and random
// types, counts (many near 2^32) and value offsets in their entries.
std::vector<std::string> entryDamage(const std::string& file, int count, std::mt19937& random);

// The first APP1 length set to the values around its limits: 0, 1, 2, 15, 16, 17,
// one less and one more than right, 0xFFFE, 0xFFFF, and to the end of the file.
std::vector<std::string> app1Lengths(const std::string& file);

// Garbage after the end-of-image marker: random bytes, more markers, another EXIF
// segment.
std::vector<std::string> trailingGarbage(const std::string& file, std::mt19937& random);

#endif  // PRECHECK_TESTS_HOSTILE_DAMAGE_H_
