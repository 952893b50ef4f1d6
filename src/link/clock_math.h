#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/link_speed.h"

namespace korvane {

/// The board's clock in MHz from the count that SFRs CA and CB hold after a programming reset
/// (only the two low bits of CB count), snapped to the crystal values 1.8432 and 11.0592 MHz
/// when close, otherwise rounded to one decimal.
double ClockFromCounts(std::int32_t ca, std::int32_t cb);

/// The analog clock divider shown for a clock: floor(round(MHz) / 2) - 1.
double AnalogClockDivider(double clock_mhz);

/// The fastest rate of 57600, 38400, 19200 ... 1200 that fits the clock; nothing when none does.
std::optional<LinkSpeed> ChooseLinkSpeed(double clock_mhz);

/// The five clock-register write commands for a whole clock of 1..24 MHz.
struct ClockCommands {
  std::string fb, fc, fd, ef, fe;
};
ClockCommands ClockCommandsFor(int whole_mhz);

}  // namespace korvane
