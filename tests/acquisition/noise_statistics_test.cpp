#include "acquisition/noise_statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "form/form.h"
#include "support/fakes.h"

namespace korvane {
namespace {

using testing::FakeChart;

constexpr char kTemperatureTitle[] = "T E M P E R A T U R E, C";

class NoiseStatisticsTest : public ::testing::Test {
 protected:
  NoiseStatisticsTest() {
    form.VoltsPerCode = 5.0 / 16777215.0;
    form.txtDeviation.SetEnabled(false);
    form.txtEfBits.SetEnabled(false);
    form.txtDisplay.SetEnabled(false);
    graph.SetYAxisTitle("V O L T A G E ,  V");
  }

  /// Puts the readings at Samples(1..n) with their mean, as a block of the run leaves them.
  void Block(std::initializer_list<std::int32_t> readings) {
    form.AverNumb = static_cast<std::int32_t>(readings.size());
    form.MeanCode = 0;
    std::size_t i = 1;
    for (const std::int32_t reading : readings) {
      form.Samples[i++] = reading;
      form.MeanCode += reading / static_cast<double>(readings.size());
    }
  }

  Form form;
  FakeChart graph;
  NoiseStatistics statistics{form, graph};
  double sigma = -1;
};

TEST_F(NoiseStatisticsTest, ShowsDeviationAndBitsAndFixesTheVoltsRange) {
  Block({100, 102, 98, 101, 99});
  form.PgaGainExp = 2;
  statistics.CalcNoise(sigma);
  EXPECT_EQ(sigma, 1.6);
  EXPECT_EQ(form.txtDeviation.Text(), "1.6");
  EXPECT_EQ(form.txtEfBits.Text(), "23.32");
  EXPECT_TRUE(form.txtDeviation.Enabled() && form.txtEfBits.Enabled() && form.txtDisplay.Enabled());
  const double k = form.VoltsPerCode / 4;
  EXPECT_TRUE(graph.fixed_range);
  EXPECT_DOUBLE_EQ(graph.y_min, (100 - 6.4) * k);
  EXPECT_DOUBLE_EQ(graph.y_max, (100 + 6.4) * k);
  EXPECT_EQ(graph.y_title, "V O L T A G E ,  V");
  EXPECT_EQ(form.Samples[3], 98);  // no outliers
}

TEST_F(NoiseStatisticsTest, AFarReadingIsMarkedAfterItCountedInTheDeviation) {
  form.AverNumb = 50;
  form.MeanCode = 0;
  for (std::size_t i = 1; i <= 50; ++i) {
    form.Samples[i] = i == 17 ? 0 : 10000 + static_cast<std::int32_t>(i % 3);
    form.MeanCode += form.Samples[i] / 50.0;
  }
  form.Samples[51] = 0;  // beyond the block
  statistics.CalcNoise(sigma);
  EXPECT_GT(sigma, 1000.0);
  EXPECT_EQ(form.Samples[17], NoiseStatistics::kOutlierMark);
  EXPECT_EQ(std::count(&form.Samples[1], &form.Samples[52], NoiseStatistics::kOutlierMark), 1);
}

TEST_F(NoiseStatisticsTest, DecimalAndHexModesKeepTheGraphRange) {
  graph.SetYRange(-1.0, 2.0);
  for (const int mode : {1, 2}) {
    form.optDataShow[static_cast<std::size_t>(mode)].SetValue(true);
    Block({100, 102, 98, 101, 99});
    statistics.CalcNoise(sigma);
    EXPECT_EQ(graph.y_min, -1.0);
    EXPECT_EQ(graph.y_max, 2.0);
    EXPECT_EQ(form.txtDeviation.Text(), "1.6");
  }
}

TEST_F(NoiseStatisticsTest, TemperatureInputFixesOneDegreeAroundTheMeanInEveryMode) {
  form.optADCinput[1].SetValue(true);
  form.VoltsPerCode = 2e-7;
  form.PgaGainExp = 1;
  // 0.1151125 V: 25.3 degrees.
  for (const int mode : {0, 1, 2}) {
    form.optDataShow[static_cast<std::size_t>(mode)].SetValue(true);
    graph = FakeChart{};
    Block({1151124, 1151126, 1151125});
    statistics.CalcNoise(sigma);
    EXPECT_EQ(graph.y_min, 25.0) << mode;
    EXPECT_DOUBLE_EQ(graph.y_max, 25.8) << mode;
    EXPECT_EQ(graph.y_title, kTemperatureTitle) << mode;
  }
}

TEST_F(NoiseStatisticsTest, BlockLengthIsHeldToTheBuffer) {
  form.Samples.fill(300);
  form.MeanCode = 300;
  form.AverNumb = 1;
  statistics.CalcNoise(sigma);
  EXPECT_EQ(sigma, 0.1);
  form.AverNumb = 70000;
  form.Samples[5000] = 400;
  form.MeanCode = 300;
  statistics.CalcNoise(sigma);
  EXPECT_EQ(sigma, 1.4);  // sqrt(100^2 / 4999)
  EXPECT_EQ(form.Samples[5000], NoiseStatistics::kOutlierMark);
}

}  // namespace
}  // namespace korvane
