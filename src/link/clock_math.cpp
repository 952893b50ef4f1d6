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

LinkSpeed LinkSpeedFor(double clock_mhz, int bit_rate) {
  LinkSpeed speed;
  speed.bit_rate = bit_rate;
  const double reload = RoundHalfEven(65536 - clock_mhz * 1e6 / (32.0 * bit_rate));
  speed.deviation_percent = (1 - bit_rate / clock_mhz / 1e6 * 32 * (65536 - reload)) * 100;
  speed.reload = reload >= 0 && reload <= 65535 ? static_cast<std::int32_t>(reload) : -1;
  return speed;
}

bool Fits(const LinkSpeed& speed) {
  return speed.reload >= 0 && std::fabs(speed.deviation_percent) <= 2;
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
