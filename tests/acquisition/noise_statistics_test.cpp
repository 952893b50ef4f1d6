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

}  // namespace
}  // namespace korvane
