#include "board/boot_bit_rates.h"

#include <cstdlib>

#include "common/link_speed.h"

namespace korvane {

namespace {

constexpr int kStandardRates[] = {57600, 38400, 19200, 9600, 4800, 2400, 1200};
constexpr int kAlwaysMade = 1200;
constexpr int kSlowCrystalRate = 2400;
constexpr double kSlowCrystalMhz = 1.8432;
constexpr double kSlowClockBelowMhz = 5.0;
constexpr double kSenderTolerance = 0.01;

}  // namespace

bool BootFirmwareLocksOnto(double clock_mhz, int sender_rate) {
  if (!(clock_mhz > 0)) return false;
  for (const int rate : kStandardRates) {
    if (std::abs(sender_rate - rate) > kSenderTolerance * rate) continue;
    if (rate == kAlwaysMade) return true;
    if (clock_mhz < kSlowClockBelowMhz)
      return rate == kSlowCrystalRate && clock_mhz == kSlowCrystalMhz;
    return Fits(LinkSpeedFor(clock_mhz, rate));
  }
  return false;
}

}  // namespace korvane
