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

/// Started, with the positive input stepped from AINCOM to AIN0.
void StartOnAin0(ScenarioRig& rig) {
  rig.main.Form_Load();
  rig.form.cmdChanelMinusPlus[1].Click();  // AINCOM -> DIODE
  rig.form.cmdChanelMinusPlus[1].Click();  // DIODE -> AIN0
  ASSERT_EQ(rig.form.txtChannel[0].Text(), "AIN0");
}

void RunFor(ScenarioRig& rig, int seconds) {
  rig.time.Schedule(Millis{1000 * seconds}, [&rig] { rig.form.cmdCntr[2].Click(); });
  rig.form.cmdCntr[2].Click();
}

TEST(AcquisitionScenario, DecimalModeCountsEveryReadingOfTheBlock) {
  ScenarioRig rig(1, BoardWithInputs(1.2345678));
  StartOnAin0(rig);
  rig.form.optDataShow[1].SetValue(true);
  rig.form.cboSampling.SetListIndex(0);
  rig.form.cmdCntr[2].Click();  // "Once" right after start-up shows a reading
  const double code = 1.2345678 / (5.0 / 16777215);
  EXPECT_NEAR(std::stod(rig.form.txtDisplay.Caption()), code, 100);

  rig.form.cboSampling.SetListIndex(1);
  rig.form.txtAverNumb.SetText("50");
  rig.form.chkAutoZero.SetValue(1);
  rig.time.Schedule(Millis{3000}, [&rig] { rig.form.chkAutoZero.SetValue(0); });  // mid-block
  RunFor(rig, 8);
  EXPECT_NEAR(std::stod(rig.form.txtDisplay.Caption()), code, 100);
  EXPECT_LT(std::stod(rig.form.txtDeviation.Text()), 10);
  EXPECT_GT(std::stod(rig.form.txtEfBits.Text()), 20);
}

TEST(AcquisitionScenario, ChipCountIsSentAndItsTidyingDoesNotStopTheRun) {
  struct Case {
    int chip_mode;  // the in-chip selector when the run starts
    const char* typed;
    const char* shown;
    const char* command;
    const char* stream;
  };
  // The last case: "Averaging" with 300 typed, then back to "None", which hides the box.
  for (const Case c : {Case{1, "4", "4", "N0004", "U4"}, Case{1, "300", "255", "N00FF", "U4"},
                       Case{1, "0", "1", "N0001", "U4"}, Case{2, "1e2", "100", "N0064", "U5"},
                       Case{1, " 32", "32", "N0020", "U4"}, Case{0, "300", "255", "N00FF", "U3"}}) {
    SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
    ScenarioRig rig(1, BoardWithInputs(0.5));
    StartOnAin0(rig);
    rig.form.txtDecimation.SetText("16");  // fast conversions: even 255 of them make a result
    rig.form.cboSampling.SetListIndex(0);  // "Once" sets the chip's mode to "None"...
    rig.form.cboAvgFil.SetListIndex(1);    // ...so the count box is shown after it
    rig.form.txtPartMode.SetText(c.typed);
    rig.form.cboAvgFil.SetListIndex(c.chip_mode);
    rig.form.cmdCntr[2].Click();
    EXPECT_EQ(rig.form.txtPartMode.Text(), c.shown);
    const auto count_at = rig.Sent().find(c.command);
    EXPECT_NE(count_at, std::string::npos);
    EXPECT_NE(rig.Sent().find(c.stream, count_at), std::string::npos);
    EXPECT_NEAR(std::stod(rig.form.txtDisplay.Caption()), 0.5, 20e-6) << "a reading was shown";
  }
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
  const auto path = std::filesystem::temp_directory_path() / "korvane-scenario-run.csv";
  std::filesystem::remove(path);
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
  std::filesystem::remove(path);
}

// The long record drives a Continuous run and stops it at its N-th reading: the run's own
// recording holds exactly those readings, in the same order.
TEST(AcquisitionScenario, LongRecordTakesExactlyNReadingsAndStopsTheRun) {
  ScenarioRig rig(1, BoardWithInputs(0.1));
  rig.main.Form_Load();
  rig.form.cboSampling.SetListIndex(0);
  const auto path = std::filesystem::temp_directory_path() / "korvane-long-record.csv";
  std::filesystem::remove(path);
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
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace korvane
