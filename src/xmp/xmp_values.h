// What a photograph's XMP packet says about the flight that took it: the values drone
// cameras write beside their EXIF tags. Each is absent when the packet does not carry
// it or carries something that is not a plain number.
#ifndef PRECHECK_XMP_XMP_VALUES_H_
#define PRECHECK_XMP_XMP_VALUES_H_

#include <cstddef>
#include <optional>
#include <string>

// Longer texts are cut to these: ids and band names are short, and the records of a
// run stay in memory.
inline constexpr std::size_t kCaptureIdBytesKept = 64;
inline constexpr std::size_t kBandNameBytesKept = 32;

struct XmpValues {
  std::optional<float> relativeAltitude;  // metres above the take-off point
  std::optional<float> absoluteAltitude;  // metres, as the drone's barometer and GPS see it
  std::optional<float> gimbalPitch;       // degrees; -90 looks straight down
  std::optional<float> gimbalYaw;
  std::optional<float> gimbalRoll;
  std::optional<float> flightPitch;  // degrees, of the aircraft
  std::optional<float> flightYaw;
  std::optional<float> flightRoll;
  std::optional<float> flightXSpeed;  // metres per second
  std::optional<float> flightYSpeed;
  std::optional<float> flightZSpeed;
  std::optional<int> rtkFlag;  // as written: 0 none, 16 single, 34 float, 50 fixed
  std::string captureId;       // one multispectral capture; empty when none
  std::string bandName;        // of a multispectral camera; empty when none

  bool any() const;
};

#endif  // PRECHECK_XMP_XMP_VALUES_H_
