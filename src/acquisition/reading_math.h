#pragma once

#include <cstdint>
#include <string>

namespace korvane {

/// The reading display's modes, as the three "Display" option buttons choose them.
enum class DisplayMode { kVolts, kDecimal, kHex };

/// A converter at full scale.
enum class Overload { kNone, kPositive, kNegative };

/// A bipolar (two's complement) 24-bit code as a signed number: 000000h -> 0, 7FFFFFh -> 8388607,
/// 800000h -> -8388608, FFFFFFh -> -1. `raw` is 0..16777215.
std::int32_t SignedCode(std::int32_t raw);

/// Volts of a code at the PGA gain 2^`gain_exp`, rounded to 8 decimals (ties to even).
double CodeVolts(std::int32_t code, double volts_per_code, std::int32_t gain_exp);

/// Degrees C of the temperature diode at `volts` (0.115 V at 25 C, 375 uV per degree), rounded
/// to 3 decimals (ties to even).
double DiodeCelsius(double volts);

/// `value` with exactly `decimals` decimals, "+" in front when it is above zero, "-" below, no
/// sign for zero: the meter text of volts (8 decimals) and degrees (3 decimals).
std::string MeterText(double value, int decimals);

/// The signed code as plain decimal: "-" for negative values, no "+", no padding.
std::string DecimalText(std::int32_t code);

/// Upper-case hexadecimal without leading zeros; a negative value (a block mean) shows as its
/// 32-bit two's complement (-5 -> "FFFFFFFB").
std::string HexText(std::int32_t code);

/// Full scale of the signed code: bipolar at exactly 8388607 / -8388608, unipolar at 16777215 or
/// more / below 1.
Overload OverloadOf(std::int32_t code, bool bipolar);

/// The tracking value of the decimal mode moved by a hundredth of the way to `code`, rounded to
/// a whole number (ties to even).
std::int32_t TrackedDecimal(std::int32_t track, std::int32_t code);

/// The time graph's value of a reading: volts (or degrees C for the temperature input) in mode
/// "V", thousands of LSB in "Dec", microvolts (or degrees C) in "Hex". `volts` is the rounded
/// value of CodeVolts.
double PlotValue(DisplayMode mode, bool temperature_input, std::int32_t code, double volts);

}  // namespace korvane
