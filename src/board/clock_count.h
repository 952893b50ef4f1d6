#pragma once

namespace korvane {

/// The count that the boot firmware's clock measurement gives for a chip clock of `clock_mhz`:
/// the inverse of the host's formula F = (998 - count) x 0.03789126 x 1.013 + 1.0, rounded to a
/// whole count and kept within the 10 bits of CA/CB (0..1023).
int ClockCountForClock(double clock_mhz);

}  // namespace korvane
