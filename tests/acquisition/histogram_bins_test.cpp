#include "acquisition/histogram_bins.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

namespace korvane {
namespace {

/// The bins the plain way: twenty passes over the readings, one per bin, with a running edge.
HistogramBins CountBinByBin(const std::vector<std::int32_t>& samples, double mean, double sigma) {
  const double lo = mean - 4 * sigma;
  const double hi = mean + 4 * sigma;
  const double width = (hi - lo) / 20;
  double edge = lo - width / 2;
  HistogramBins bins;
  bins.mean_bin = 0;
  for (int k = 1; k <= 20; ++k) {
    const double lower = edge;
    const double upper = edge + width;
    edge = upper;
    if (lower < mean && mean < upper) bins.mean_bin = k;
    for (const std::int32_t sample : samples) {
      if (lower < sample && sample < upper) ++bins.counts[static_cast<std::size_t>(k)];
    }
  }
  return bins;
}

std::int32_t Total(const HistogramBins& bins) {
  return std::accumulate(bins.counts.begin(), bins.counts.end(), 0);
}

TEST(HistogramBins, EdgesAreStrictAndTheRangeRunsFromMinus4Point2ToPlus3Point8Sigma) {
  // Mean 100, sigma 5: bins 2 wide, edges at the odd numbers 79..119.
  const std::vector<std::int32_t> samples{78,  79,  80,  81,  99,  100,     101,
                                          102, 117, 118, 119, 120, -1000000};
  const HistogramBins bins = CountBins(samples, 100.0, 5.0);
  EXPECT_EQ(bins.mean_bin, 11);
  HistogramBins expected;
  expected.counts[1] = 1;   // 80
  expected.counts[11] = 1;  // 100; 99 and 101 lie on its edges
  expected.counts[12] = 1;  // 102
  expected.counts[20] = 1;  // 118
  EXPECT_EQ(bins.counts, expected.counts);
}

TEST(HistogramBins, ReadingsOnEveryEdgeAgreeWithTwentyPasses) {
  for (const double sigma : {2.5, 5.0, 12.5, 25.0}) {
    for (const double mean : {0.0, 100.0, -8388608.0, 16777215.0, 0.5, -3.5}) {
      std::vector<std::int32_t> samples;
      const auto from = static_cast<std::int32_t>(mean - 5 * sigma);
      const auto to = static_cast<std::int32_t>(mean + 5 * sigma);
      for (std::int32_t reading = from; reading <= to; ++reading) samples.push_back(reading);
      SCOPED_TRACE(::testing::Message() << "mean " << mean << " sigma " << sigma);
      const HistogramBins expected = CountBinByBin(samples, mean, sigma);
      EXPECT_EQ(CountBins(samples, mean, sigma).counts, expected.counts);
      EXPECT_LT(Total(expected), static_cast<std::int32_t>(samples.size()));
    }
  }
}

}  // namespace
}  // namespace korvane
