#include "acquisition/histogram_bins.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

namespace korvane {
namespace {

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

}  // namespace
}  // namespace korvane
