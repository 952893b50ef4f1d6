#pragma once

#include <optional>

namespace korvane {

/// The clock and filter timing of the converter as typed into the frequency boxes.

/// The clock in MHz from the number in the clock box: below 1 (or not a number) gives 1, above
/// 32 gives 32; otherwise the number as its shown text reads back, so that the box and the value
/// always agree.
double ClampClockMHz(double typed);

/// The analog clock divider from the number in its box: floor(n + 0.499), limited to 0..128
/// (not a number gives 0).
int ClockDivider(double typed);

/// Modulator frequency in kHz: clock / (divider + 1) / 64 x 1000, rounded to 4 decimals.
double ModulatorKHz(double clock_mhz, int divider);

/// The decimation ratio from the number in its box, rounded half to even; nothing when it lies
/// outside 1..2047 (also for numbers beyond any whole-number range).
std::optional<int> CheckedDecimation(double typed);

/// Output data rate in Hz (rounded to 3 decimals) for a modulator frequency in kHz.
double DataRateHz(double modulator_khz, int decimation);
/// Time between conversions in ms (rounded to 3 decimals).
double DataPeriodMs(double modulator_khz, int decimation);

}  // namespace korvane
