#include "adcconfig/adc_timing.h"

#include <algorithm>
#include <cmath>

#include "common/number_text.h"

namespace korvane {

namespace {

constexpr double kMinClockMHz = 1.0;
constexpr double kMaxClockMHz = 32.0;
constexpr int kMaxDivider = 128;
constexpr int kMaxDecimation = 2047;

}  // namespace

double ClampClockMHz(double typed) {
  if (std::isnan(typed) || typed < kMinClockMHz) return kMinClockMHz;
  if (typed > kMaxClockMHz) return kMaxClockMHz;
  // The box shows at most 15 significant digits; keep the value the box will read back.
  return std::clamp(ValFromText(GeneralText(typed)), kMinClockMHz, kMaxClockMHz);
}

int ClockDivider(double typed) {
  if (std::isnan(typed)) return 0;
  const double whole = std::floor(typed + 0.499);
  return static_cast<int>(std::clamp(whole, 0.0, static_cast<double>(kMaxDivider)));
}

double ModulatorKHz(double clock_mhz, int divider) {
  return RoundHalfEven(clock_mhz / (divider + 1) / 64.0 * 1000.0, 4);
}

std::optional<int> CheckedDecimation(double typed) {
  const auto ratio = RoundedInRange(typed, 1, kMaxDecimation);
  if (!ratio) return std::nullopt;
  return static_cast<int>(*ratio);
}

double DataRateHz(double modulator_khz, int decimation) {
  return RoundHalfEven(modulator_khz * 1000.0 / decimation, 3);
}

double DataPeriodMs(double modulator_khz, int decimation) {
  return RoundHalfEven(decimation / modulator_khz, 3);
}

}  // namespace korvane
