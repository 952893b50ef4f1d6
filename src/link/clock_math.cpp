#include "link/clock_math.h"

#include <cmath>

#include "common/number_text.h"

namespace korvane {

double ClockFromCounts(std::int32_t ca, std::int32_t cb) {
  const std::int32_t count = (cb & 3) * 256 + ca;
  const double mhz = (998 - count) * 0.03789126 * 1.013 + 1.0;
  if (mhz > 1.8 && mhz < 1.9) return 1.8432;
  if (mhz > 11.0 && mhz < 11.1) return 11.0592;
  return RoundHalfEven(mhz, 1);
}

double AnalogClockDivider(double clock_mhz) {
  return std::floor(RoundHalfEven(clock_mhz) / 2) - 1;
}

std::optional<LinkSpeed> ChooseLinkSpeed(double clock_mhz) {
  if (!(clock_mhz > 0) || !std::isfinite(clock_mhz)) return std::nullopt;
  if (const auto fastest = LinkSpeedFor(clock_mhz, 57600); Fits(fastest)) return fastest;
  for (int rate = 38400; rate >= 1200; rate /= 2) {
    if (const auto speed = LinkSpeedFor(clock_mhz, rate); Fits(speed)) return speed;
  }
  return std::nullopt;
}

ClockCommands ClockCommandsFor(int whole_mhz) {
  const int thousands = 1000 * whole_mhz;
  return ClockCommands{.fb = "RWFB" + Hex2(whole_mhz - 1),
                       .fc = "RWFC" + Hex2(thousands % 256),
                       .fd = "RWFD" + Hex2(thousands / 256),
                       .ef = "RWEF34",
                       .fe = "RWFE63"};
}

}  // namespace korvane
