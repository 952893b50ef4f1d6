#pragma once

#include <cstdint>

namespace korvane {

/// A link speed the board's clock can produce with the chip's timer, and its 16-bit reload value.
struct LinkSpeed {
  int bit_rate = 0;
  std::int32_t reload = 0;
  double deviation_percent = 0.0;
};

/// Reload value 65536 - clock / (32 x rate), rounded, and the deviation of the rate it gives;
/// the program's link-speed choice and the simulated chip's bit-rate detection both use it.
LinkSpeed LinkSpeedFor(double clock_mhz, int bit_rate);
/// The rate fits when the deviation is within 2 % and the reload value is a 16-bit value.
bool Fits(const LinkSpeed& speed);

}  // namespace korvane
