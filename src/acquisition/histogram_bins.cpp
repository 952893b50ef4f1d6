#include "acquisition/histogram_bins.h"

#include <cmath>

namespace korvane {

namespace {

constexpr double kHalfRangeSigmas = 4.0;

using Edges = std::array<double, HistogramBins::kBins + 1>;

double BinWidth(double mean, double sigma) {
  const double lo = mean - kHalfRangeSigmas * sigma;
  const double hi = mean + kHalfRangeSigmas * sigma;
  return (hi - lo) / HistogramBins::kBins;
}

/// The bin (1..20) whose edges hold `value` strictly, or 0. The first guess comes from the
/// distance to the lowest edge; the comparisons with the edges themselves have the last word, so
/// the result is the same as testing every bin in turn.
int BinOf(const Edges& edges, double width, double value) {
  constexpr int kBins = HistogramBins::kBins;
  const double position = (value - edges[0]) / width;
  if (!(position > -1.0 && position < kBins + 1.0)) return 0;  // far outside, or not a number
  int bin = static_cast<int>(position) + 1;
  if (bin < 1) bin = 1;
  if (bin > kBins) bin = kBins;
  while (bin > 1 && value <= edges[bin - 1]) --bin;
  while (bin < kBins && value >= edges[bin]) ++bin;
  return edges[bin - 1] < value && value < edges[bin] ? bin : 0;
}

}  // namespace

Edges BinEdges(double mean, double sigma) {
  const double width = BinWidth(mean, sigma);
  Edges edges{};
  edges[0] = mean - kHalfRangeSigmas * sigma - width / 2;
  for (std::size_t k = 1; k < edges.size(); ++k) edges[k] = edges[k - 1] + width;
  return edges;
}

HistogramBins CountBins(std::span<const std::int32_t> samples, double mean, double sigma) {
  const Edges edges = BinEdges(mean, sigma);
  const double width = BinWidth(mean, sigma);
  HistogramBins bins;
  for (const std::int32_t sample : samples) {
    if (const int bin = BinOf(edges, width, sample); bin != 0) ++bins.counts[bin];
  }
  if (const int bin = BinOf(edges, width, mean); bin != 0) bins.mean_bin = bin;
  return bins;
}

}  // namespace korvane
