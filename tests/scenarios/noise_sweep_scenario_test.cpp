#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "board/adc_transfer.h"
#include "records/noise_table.h"
#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

/// The simulated board's noise at gain `gain` and `rate_hz` with the start-up settings (Auto
/// filter, buffer off, bipolar, 2.5 V reference), in µV rms: its Gaussian input noise, and the
/// rounding to whole codes (one LSB wide, variance LSB^2 / 12).
double ModelSigmaMicrovolts(int gain, double rate_hz) {
  const double input = std::sqrt(rate_hz) * std::hypot(chip_adc::kFrontEndNoiseDensity,
                                                       chip_adc::kModulatorNoiseDensity / gain);
  const double lsb = 2 * 2.5 / 16777215 / gain;
  return 1e6 * std::sqrt(input * input + lsb * lsb / 12);
}

// 8 gains x 4 rates, 1000 readings each, on the simulated board in virtual time. Each cell's
// sigma is an estimate from N readings: its own standard deviation is sigma / sqrt(2 (N - 1)),
// 2.2 % here. Every cell must lie within 4 of those of the model (a fault in 32 cells at that
// bound by chance: about 0.2 %; the board is seeded, so the outcome is fixed).
TEST(NoiseSweepScenario, TableMatchesTheBoardsNoiseModel) {
  const auto wall_start = std::chrono::steady_clock::now();
  ScenarioRig rig;
  rig.main.Form_Load();
  rig.form.cboSampling.SetListIndex(1);
  NoiseSweep& sweep = rig.main.run_data().noise_sweep();
  const SweepPlan plan{{1, 2, 4, 8, 16, 32, 64, 128}, {1728, 576, 192, 64}, 1000};  // 20 .. 540 Hz
  const double estimate = sweep.EstimatedSeconds(plan);
  const double board_start = static_cast<double>(rig.time.NowMs()) / 1000;
  ASSERT_TRUE(sweep.Run(plan)) << sweep.Table().incomplete;
  const double took = static_cast<double>(rig.time.NowMs()) / 1000 - board_start;
  EXPECT_NEAR(took, estimate, 0.1 * estimate) << "the estimate before the start";

  const NoiseTable& table = sweep.Table();
  ASSERT_EQ(table.cells.size(), 32u);
  const double n = static_cast<double>(plan.readings);
  for (const NoiseTableCell& cell : table.cells) {
    SCOPED_TRACE("gain " + std::to_string(cell.gain) + ", decimation " +
                 std::to_string(cell.decimation));
    EXPECT_TRUE(cell.whole);
    EXPECT_EQ(cell.figures.count, plan.readings);
    EXPECT_NEAR(cell.data_rate_hz, sweep.ModulatorKHz() * 1000 / cell.decimation, 5e-4);
    const double model = ModelSigmaMicrovolts(cell.gain, cell.data_rate_hz);
    EXPECT_NEAR(cell.figures.sigma_uv, model, 4 * model / std::sqrt(2 * (n - 1)));
  }
  // Sinc3 refills its three stages in three conversions, and one more was under way when the
  // registers were written: the last cell's run took those four before its readings.
  EXPECT_EQ(rig.main.run().ReadingsUsed(), plan.readings + 4);
  EXPECT_EQ(rig.form.txtPGAGain.Text(), "1") << "the panel's gain comes back";
  EXPECT_EQ(rig.form.txtDecimation.Text(), "1920");
  EXPECT_EQ(rig.form.cboSampling.ListIndex(), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - wall_start, std::chrono::seconds(10));
}

// A sweep that ends halfway keeps the cells measured, the one cut short marked, and says why.
TEST(NoiseSweepScenario, EndedHalfwayKeepsTheRowsMarkedIncomplete) {
  struct Case {
    const char* name;
    void (*end)(ScenarioRig&);
    const char* cause;
  };
  const Case cases[] = {
      {"Cancel", [](ScenarioRig& rig) { rig.main.run_data().noise_sweep().Cancel(); },
       NoiseSweep::kCancelled},
      {"adapter pulled out", [](ScenarioRig& rig) { rig.port.Unplug(1); },
       NoiseSweep::kBoardSilent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScenarioRig rig;
    rig.main.Form_Load();
    NoiseSweep& sweep = rig.main.run_data().noise_sweep();
    const SweepPlan plan{{1, 8, 64}, {1000, 500}, 500};
    rig.time.Schedule(Millis(static_cast<long>(500 * sweep.EstimatedSeconds(plan))),
                      [&rig, &c] { c.end(rig); });
    EXPECT_FALSE(sweep.Run(plan));
    const NoiseTable& table = sweep.Table();
    EXPECT_EQ(table.incomplete, c.cause);
    ASSERT_GE(table.cells.size(), 2u);
    ASSERT_LT(table.cells.size(), 6u);
    EXPECT_TRUE(table.cells.front().whole);
    EXPECT_FALSE(table.cells.back().whole);
    EXPECT_LT(table.cells.back().figures.count, plan.readings);
    EXPECT_FALSE(rig.form.TestGo);
    EXPECT_EQ(rig.form.txtDecimation.Text(), "1920");
    const std::string csv = NoiseTableCsv(table, "1.0.0", "t");
    EXPECT_NE(csv.find("\n# incomplete: " + std::string(c.cause) + "\n"), std::string::npos);
    EXPECT_NE(csv.find(",no\n"), std::string::npos);
  }
}

}  // namespace
}  // namespace korvane
