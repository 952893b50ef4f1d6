#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

/// Number typed into a text box: leading blanks (spaces, tabs) skipped, then the longest leading
/// part that reads as a decimal number (sign, digits, one point, optional exponent "E"/"e" with
/// optional sign, taken only when a digit follows); "&H"/"&h" reads the hexadecimal digits that
/// follow (unsigned). 0 when there is none; "," is never a decimal point. Never throws, any bytes
/// are harmless; overflow gives +-infinity, underflow 0. Never returns a negative zero.
double ValFromText(std::string_view text);

/// Number on the command line: blanks, tabs, line feeds and carriage returns anywhere are
/// ignored, then as ValFromText ("1 2" -> 12, "- 5" -> -5).
double ValFromCommandWord(std::string_view text);

/// Round to a whole number, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), independent of the
/// floating-point rounding mode. Infinities and NaN pass through; a result of zero keeps the sign
/// of `value` (-0.4 -> -0).
double RoundHalfEven(double value);

/// Round to `decimals` decimal places, halves to even, judged on the decimal digits of the
/// shortest text that reads back as `value` (2.675 with 2 decimals -> 2.68 because 2.675 is the
/// typed value, not its binary neighbour; 0.125 -> 0.12). The result is the double nearest to the
/// rounded decimal. Infinities and NaN pass through; a result of zero keeps the sign of `value`.
/// `decimals` may be negative (tens, hundreds...); it is limited to -400..400.
double RoundHalfEven(double value, int decimals);

/// Whole number rounded half to even when it fits the range [lo, hi]; nothing otherwise
/// (also for NaN and infinities).
std::optional<std::int64_t> RoundedInRange(double value, std::int64_t lo, std::int64_t hi);

/// `value` rounded half to even and clamped to [lo, hi]; NaN gives lo.
std::int64_t RoundClamped(double value, std::int64_t lo, std::int64_t hi);

/// General number-to-text form: shortest text that reads back as the same number, at most 15
/// significant digits, no trailing zeros, "." as the point, no leading zero dropped
/// (10 -> "10", 11.0592 -> "11.0592", 0.5 -> "0.5", -7.4 -> "-7.4", 0.1 + 0.2 -> "0.3").
/// Fixed notation for decimal exponents -5..14, otherwise mantissa, "E", sign and at least two
/// exponent digits (1e20 -> "1E+20", 1.5e-7 -> "1.5E-07", 1e15 -> "1E+15"). Zero and negative
/// zero give "0"; infinities and NaN give "Infinity", "-Infinity", "NaN".
std::string GeneralText(double value);

/// Fixed pattern "0.000...": `value` rounded as RoundHalfEven(value, decimals), then at least one
/// integer digit and exactly `decimals` decimals (no point for 0 decimals), "-" for negative
/// values, no sign for zero or positive values ("-0.000" never appears). `decimals` is limited to
/// 0..400; infinities and NaN give the texts of GeneralText.
std::string FixedText(double value, int decimals);

/// Upper-case hexadecimal of the 16-bit value (the low 16 bits of `value`), without leading zeros
/// but at least two digits (0 -> "00", 15 -> "0F", 255 -> "FF", 256 -> "100", -1 -> "FFFF").
std::string Hex2(int value);

}  // namespace korvane
