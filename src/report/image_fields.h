// What the per-image table and the map show of an image, as text for people: UTF-8,
// numbers written the same in every locale.
#ifndef PRECHECK_REPORT_IMAGE_FIELDS_H_
#define PRECHECK_REPORT_IMAGE_FIELDS_H_

#include <cstddef>
#include <string>
#include <vector>

#include "checks/checks.h"
#include "load/image_record.h"

// The path of an image below the input folder, in UTF-8: `path` without the folder
// and its separator.
std::string pathBelow(const std::string& inputFolder, const std::string& path);

// A text of the file (make, model, time) up to its first NUL, as the EXIF value
// ends there, in UTF-8.
std::string fileText(const std::string& bytes);

// The make as people read it: a make longer than a record keeps ends in " ..." and its
// length, as the table cannot hold a make as long as a file either.
std::string makeText(const CameraMake& make);

// The capture time as YYYY-MM-DD HH:MM:SS when the file gives it in the EXIF form
// YYYY:MM:DD HH:MM:SS; otherwise as the file gives it.
std::string captureTimeText(const std::string& bytes);

// Decimals that keep what a camera measures: degrees to about a millimetre on the
// ground, metres and millimetres of focal length to a thousandth.
inline constexpr int kDegreePlaces = 8;
inline constexpr int kMetrePlaces = 3;

// Per image, in list order, the report codes of the checks that named it, in table
// order.
std::vector<std::vector<int>> reportCodesByImage(const CheckOutcomes& outcomes,
                                                 std::size_t imageCount);

// Whether the image has a position to show in the table: one the GPS check takes as
// usable, made of coordinates that are measures (no zero denominator).
bool hasShownPosition(const ImageRecord& record);

// Whether the image has a position to draw: one to show that is also a point on the
// globe. Every file for people that places images asks this.
bool hasMapPosition(const ImageRecord& record);

// Why a parsed image shows no position although its file gives one, in a few words;
// empty when there is nothing to say.
const char* positionNote(const ImageRecord& record);

// Why an image was not parsed, in a few words.
const char* describe(ExifStatus status);

#endif  // PRECHECK_REPORT_IMAGE_FIELDS_H_
