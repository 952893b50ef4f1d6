#include "acquisition/histogram.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "form/form.h"
#include "support/fakes.h"

namespace korvane {
namespace {

using testing::FakeChart;

class HistogramTest : public ::testing::Test {
 protected:
  HistogramTest() {
    // As the run prepares the histogram chart.
    histo.SetPointCount(22);
    for (int p = 0; p < 22; ++p) {
      histo.SetPointY(0, p, 0);
      histo.SetPointX(0, p, static_cast<float>(p));
    }
  }

  Form form;
  FakeChart histo;
  Histogram histogram{form, histo};
};

TEST_F(HistogramTest, DrawsTwentyBarsAroundTheMeansBinBetweenEmptyEndPoints) {
  // Mean 100, sigma 5: bins 2 wide, bin 11 from 99 to 101.
  form.AverNumb = 40;
  form.MeanCode = 100.0;
  for (std::size_t i = 1; i <= 40; ++i) form.Samples[i] = i <= 30 ? 100 : 92;  // 92: bin 7
  form.Samples[0] = 80;                                                        // not in the block
  form.Samples[41] = 80;
  const double sigma = 5.0;
  histogram.Gistogram(sigma);

  ASSERT_EQ(histo.PointCount(), 22);
  for (int k = 1; k <= 20; ++k) {
    const float count = k == 11 ? 30.0f : k == 7 ? 10.0f : 0.001f;
    EXPECT_EQ(histo.PointY(0, k), count) << k;
    EXPECT_EQ(histo.PointX(0, k), static_cast<float>((k - 11) + 0.0001)) << k;
  }
  EXPECT_EQ(histo.PointX(0, 0), -11.0f);
  EXPECT_EQ(histo.PointY(0, 0), 0.0f);
  EXPECT_EQ(histo.PointX(0, 21), 10.0f);
  EXPECT_EQ(histo.PointY(0, 21), 0.0f);
  EXPECT_EQ(histo.series_color, 32768u);
  EXPECT_EQ(histo.redraws, 1);
}

}  // namespace
}  // namespace korvane
