#include "xmp/xmp_values.h"

bool XmpValues::any() const {
  return relativeAltitude || absoluteAltitude || gimbalPitch || gimbalYaw || gimbalRoll ||
         flightPitch || flightYaw || flightRoll || flightXSpeed || flightYSpeed ||
         flightZSpeed || rtkFlag || !captureId.empty() || !bandName.empty();
}
