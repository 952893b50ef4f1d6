#include "acquisition/reading_math.h"

#include <cmath>
#include <cstdio>

#include "common/number_text.h"

namespace korvane {

namespace {

constexpr std::int32_t kSignBit = 0x800000;
constexpr double kDiodeVoltsAt25C = 0.115;
constexpr double kDiodeVoltsPerDegree = 0.000375;
constexpr double kDiodeReferenceCelsius = 25.0;

}  // namespace

std::int32_t SignedCode(std::int32_t raw) {
  // In 64 bits, so that no value outside the 24-bit range can overflow.
  return static_cast<std::int32_t>((std::int64_t{raw} ^ kSignBit) - kSignBit);
}

double CodeVolts(std::int32_t code, double volts_per_code, std::int32_t gain_exp) {
  return RoundHalfEven(code * volts_per_code / std::ldexp(1.0, gain_exp), 8);
}

double DiodeCelsius(double volts) {
  return RoundHalfEven((volts - kDiodeVoltsAt25C) / kDiodeVoltsPerDegree + kDiodeReferenceCelsius,
                       3);
}

std::string MeterText(double value, int decimals) {
  std::string text = FixedText(value, decimals);
  if (value > 0) text.insert(text.begin(), '+');
  return text;
}

std::string DecimalText(std::int32_t code) {
  return std::to_string(code);
}

std::string HexText(std::int32_t code) {
  char text[9];
  std::snprintf(text, sizeof text, "%X", static_cast<std::uint32_t>(code));
  return text;
}

Overload OverloadOf(std::int32_t code, bool bipolar) {
  if (bipolar) {
    if (code == 8388607) return Overload::kPositive;
    if (code == -8388608) return Overload::kNegative;
    return Overload::kNone;
  }
  if (code >= 16777215) return Overload::kPositive;
  if (code < 1) return Overload::kNegative;
  return Overload::kNone;
}

std::int32_t TrackedDecimal(std::int32_t track, std::int32_t code) {
  const double moved = (static_cast<double>(code) - track) / 100.0 + track;
  return static_cast<std::int32_t>(RoundHalfEven(moved));
}

double PlotValue(DisplayMode mode, bool temperature_input, std::int32_t code, double volts) {
  switch (mode) {
    case DisplayMode::kVolts:
      return temperature_input ? DiodeCelsius(volts) : volts;
    case DisplayMode::kDecimal:
      return code / 1000.0;
    case DisplayMode::kHex:
      return temperature_input ? DiodeCelsius(volts) : volts * 1000000.0;
  }
  return 0.0;
}

}  // namespace korvane
