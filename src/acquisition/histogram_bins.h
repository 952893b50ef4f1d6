#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace korvane {

/// The block's readings counted in twenty bins 0.4 sigma wide: bin k (1..20) runs from
/// mean + (k - 11.5) x 0.4 sigma to mean + (k - 10.5) x 0.4 sigma, so bin 11 is centred on the
/// mean. Edges are strict: a reading on an edge, or outside mean - 4.2 sigma .. mean + 3.8 sigma,
/// is in no bin. Places 0 and 21 are the empty end points.
struct HistogramBins {
  static constexpr int kBins = 20;
  /// The bin that holds the mean when the arithmetic is exact.
  static constexpr int kCentreBin = 11;

  std::array<std::int32_t, kBins + 2> counts{};
  /// The bin whose edges hold the mean.
  int mean_bin = kCentreBin;
};

/// The twenty bin edges of `sigma` around `mean`, from the lower edge of bin 1 to the upper edge
/// of bin 20, each one bin width above the one before.
std::array<double, HistogramBins::kBins + 1> BinEdges(double mean, double sigma);

/// Counts `samples` into the bins of `sigma` around `mean` in one pass. `sigma` is above 0.
HistogramBins CountBins(std::span<const std::int32_t> samples, double mean, double sigma);

}  // namespace korvane
