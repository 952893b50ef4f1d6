#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "acquisition/noise_figures.h"
#include "records/csv_reader.h"
#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

/// A board whose AIN0 carries `ain0` volts (AINCOM at 0 V).
BoardOptions BoardWithInputs(double ain0) {
  BoardOptions options;
  options.adc_inputs.volts[0] = ain0;
  return options;
}

void RunFor(ScenarioRig& rig, int seconds) {
  rig.time.Schedule(Millis{1000 * seconds}, [&rig] { rig.form.cmdCntr[2].Click(); });
  rig.form.cmdCntr[2].Click();
}

TEST(AcquisitionScenario, HistogramFromBlocksOf31On) {
  for (const int block : {30, 31}) {
    ScenarioRig rig(1, BoardWithInputs(0));
    rig.main.Form_Load();
    rig.form.txtAverNumb.SetText(std::to_string(block));
    RunFor(rig, 6);  // about 18 readings a second: more than one block
    EXPECT_NE(rig.form.txtDeviation.Text(), "0.0") << block << ": statistics at every block end";
    EXPECT_EQ(rig.histo.series_color == 32768u, block == 31) << block;
  }
}

/// Record a run on the simulated board, open the file: the same block and the same figures.
TEST(AcquisitionScenario, RecordedRunOpensWithTheStatisticsOfItsLastBlock) {
  ScenarioRig rig(1, BoardWithInputs(0));
  rig.main.Form_Load();
  rig.form.txtAverNumb.SetText("50");
  const testing::HexFolder folder;  // a folder of this test's own
  const auto path = folder.Path() / "scenario-run.csv";
  RunData& data = rig.main.run_data();
  ASSERT_EQ(data.recorder().Start(path), "");
  RunFor(rig, 8);
  EXPECT_FALSE(data.recorder().Recording()) << "the recording ends with the run";
  EXPECT_EQ(data.recorder().RowsWritten(), rig.main.run().ReadingsUsed());
  EXPECT_GT(rig.main.run().ReadingsUsed(), 100) << "two blocks and part of a third";

  const std::vector<std::int32_t> run_block = data.last_block().Codes();
  const auto run_lines =
      NoiseFigureLines(data.last_block().Figures(), data.last_block().Settings());
  ASSERT_EQ(run_block.size(), 50u);
  Recording recording;
  ASSERT_EQ(ReadRecording(path, recording), "");
  EXPECT_EQ(std::ssize(recording.codes), rig.main.run().ReadingsUsed());
  ASSERT_TRUE(data.ShowRecording(recording, "run.csv"));
  EXPECT_EQ(data.last_block().Codes(), run_block);
  EXPECT_EQ(NoiseFigureLines(data.last_block().Figures(), data.last_block().Settings()), run_lines);
  EXPECT_EQ(rig.adc_graph.PointCount(), 51);
}

// The long record drives a Continuous run and stops it at its N-th reading: the run's own
// recording holds exactly those readings, in the same order.
TEST(AcquisitionScenario, LongRecordTakesExactlyNReadingsAndStopsTheRun) {
  ScenarioRig rig(1, BoardWithInputs(0.1));
  rig.main.Form_Load();
  rig.form.cboSampling.SetListIndex(0);
  const testing::HexFolder folder;  // a folder of this test's own
  const auto path = folder.Path() / "long-record.csv";
  RunData& data = rig.main.run_data();
  ASSERT_EQ(data.recorder().Start(path), "");
  LongRecord& record = data.long_record();
  ASSERT_TRUE(record.Take(4096));
  EXPECT_FALSE(rig.form.TestGo);
  EXPECT_NE(rig.form.RunState, 1);
  EXPECT_EQ(rig.form.cboSampling.ListIndex(), 0) << "the user's sampling mode comes back";
  EXPECT_EQ(rig.main.run().ReadingsUsed(), 4096);
  Recording recording;
  ASSERT_EQ(ReadRecording(path, recording), "");
  EXPECT_EQ(recording.codes, record.Codes());
  EXPECT_EQ(record.SecondsLeft(), 0.0);
}

}  // namespace
}  // namespace korvane
