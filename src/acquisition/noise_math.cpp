#include "acquisition/noise_math.h"

#include <cmath>

#include "common/number_text.h"

namespace korvane {

namespace {

constexpr double kBandSigmas = 4.0;
constexpr double kConverterBits = 24.0;
constexpr double kHalfDegree = 0.5;

}  // namespace

double BlockSigma(std::span<const std::int32_t> samples, double mean) {
  double sigma = 0.0;
  double sum_of_squares = 0.0;
  for (const std::int32_t sample : samples) {
    const double deviation = sample - mean;
    sum_of_squares += deviation * deviation;
  }
  if (samples.size() > 1) {
    sigma = RoundHalfEven(std::sqrt(sum_of_squares / static_cast<double>(samples.size() - 1)), 1);
  }
  return sigma < kSmallestSigma ? kSmallestSigma : sigma;
}

double EffectiveBits(double sigma) {
  return RoundHalfEven(kConverterBits - std::log(sigma) / std::log(2.0), 2);
}

int MarkOutliers(std::span<std::int32_t> samples, double mean, double sigma, std::int32_t mark) {
  int marked = 0;
  const double limit = kBandSigmas * sigma;
  for (std::int32_t& sample : samples) {
    if (std::fabs(mean - sample) > limit) {
      sample = mark;
      ++marked;
    }
  }
  return marked;
}

YBand VoltsBand(double mean, double sigma, double volts_per_lsb) {
  return {(mean - kBandSigmas * sigma) * volts_per_lsb,
          (mean + kBandSigmas * sigma) * volts_per_lsb};
}

YBand TemperatureBand(double celsius) {
  return {RoundHalfEven(celsius - kHalfDegree), celsius + kHalfDegree};
}

}  // namespace korvane
