#pragma once

#include <cstdint>
#include <span>

namespace korvane {

/// A fixed Y range of the time graph.
struct YBand {
  double min = 0.0;
  double max = 0.0;
  bool operator==(const YBand&) const = default;
};

/// Smallest standard deviation shown, in LSB.
inline constexpr double kSmallestSigma = 0.1;

/// Sample standard deviation of the block around `mean` (n - 1 in the denominator), rounded to
/// one decimal (ties to even), never below 0.1 (also for fewer than two readings).
double BlockSigma(std::span<const std::int32_t> samples, double mean);

/// Effective number of bits of a 24-bit converter with `sigma` LSB of noise, rounded to two
/// decimals (ties to even). `sigma` is above 0.
double EffectiveBits(double sigma);

/// Replaces every reading more than 4 `sigma` from `mean` (strictly) by `mark`; returns how many.
int MarkOutliers(std::span<std::int32_t> samples, double mean, double sigma, std::int32_t mark);

/// Mean plus and minus 4 `sigma`, in volts at `volts_per_lsb`.
YBand VoltsBand(double mean, double sigma, double volts_per_lsb);

/// One degree around `celsius`: the lower end rounded to a whole degree (ties to even), the
/// upper end not rounded (25.3 -> 25..25.8, 25.7 -> 25..26.2).
YBand TemperatureBand(double celsius);

}  // namespace korvane
