#include "app/crosshair_text.h"

#include <cmath>
#include <cstdio>

namespace korvane {

std::string CrosshairText(double key, double value, double millis_per_reading) {
  const long index = std::lround(key);
  char text[96];
  if (millis_per_reading > 0 && std::isfinite(millis_per_reading)) {
    std::snprintf(text, sizeof text, "#%ld   t = %.6g s   %.7g", index,
                  static_cast<double>(index) * millis_per_reading / 1000.0, value);
  } else {
    std::snprintf(text, sizeof text, "#%ld   %.7g", index, value);
  }
  return text;
}

}  // namespace korvane
