#include "board/boot_bit_rates.h"

#include <cmath>
#include <cstdlib>

#include "common/number_text.h"

namespace korvane {

namespace {

constexpr int kStandardRates[] = {57600, 38400, 19200, 9600, 4800, 2400, 1200};
constexpr int kAlwaysMade = 1200;
constexpr int kSlowCrystalRate = 2400;
constexpr double kSlowCrystalMhz = 1.8432;
constexpr double kSlowClockBelowMhz = 5.0;
constexpr double kSenderTolerance = 0.01;
constexpr double kMostDeviationPercent = 2.0;

/// The timer's reload formula: whether `rate` comes within 2 % from the clock.
bool TimerMakes(double clock_mhz, int rate) {
  const double reload = RoundHalfEven(65536 - clock_mhz * 1e6 / (32.0 * rate));
  if (reload < 0 || reload > 65535) return false;
  const double deviation = (1 - rate / clock_mhz / 1e6 * 32 * (65536 - reload)) * 100;
  return std::fabs(deviation) <= kMostDeviationPercent;
}

}  // namespace

bool BootFirmwareLocksOnto(double clock_mhz, int sender_rate) {
  if (!(clock_mhz > 0)) return false;
  for (const int rate : kStandardRates) {
    if (std::abs(sender_rate - rate) > kSenderTolerance * rate) continue;
    if (rate == kAlwaysMade) return true;
    if (clock_mhz < kSlowClockBelowMhz)
      return rate == kSlowCrystalRate && clock_mhz == kSlowCrystalMhz;
    return TimerMakes(clock_mhz, rate);
  }
  return false;
}

}  // namespace korvane
