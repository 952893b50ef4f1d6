#include "common/link_speed.h"

#include <cmath>

#include "common/number_text.h"

namespace korvane {

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

}  // namespace korvane
