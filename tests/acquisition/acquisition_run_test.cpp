#include "acquisition/acquisition_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adcconfig/settings_handlers.h"
#include "board/adc_transfer.h"
#include "link/board_link.h"
#include "platform/virtual_time.h"
#include "support/fakes.h"
#include "support/scripted_port.h"

namespace korvane {
namespace {

const char* const kFinished = "ADC  CONVERSION  IS  FINISHED ";

/// The run on a port whose replies the test scripts, in virtual time, with the window's change
/// handlers on the boxes the run reads and rewrites. The board answers the "N00" command after
/// 5 ms unless told otherwise.
struct RunBench {
  explicit RunBench(int sampling) {
    WireSettingsHandlers(form, panel, sampling_selectors, dac);
    form.VoltsPerCode = 5.0 / 16777215;
    form.cboSampling.SetListIndex(sampling);
    form.cboAvgFil.SetListIndex(0);
  }

  /// `count` readings "000001", "000002", ... each `every_ms`, the first at `first_ms`.
  void Stream(int first_ms, int every_ms, int count, int first_code = 1) {
    for (int i = 0; i < count; ++i) {
      port.ArriveAfter(first_ms + i * every_ms, ResultLine(first_code + i));
    }
  }
  void StopAt(int ms) {
    time.Schedule(Millis{ms}, [this] { form.TestGo = false; });
  }
  /// As "Run &ADC" starts it, after the settings were made.
  void Run(bool answer_n00 = true) {
    if (answer_n00) port.ArriveAfter(5, "]");
    form.TestGo = true;
    run.RunADC();
  }
  /// What went out after the "N00" command.
  std::string SentAfterCount() const { return port.sent.substr(port.sent.find("N00") + 5); }

  VirtualTime time;
  Form form;
  testing::ScriptedPort port{time};
  testing::RecordingDialogs dialogs;
  BoardLink link{form, time, port, dialogs};
  testing::FakeChart graph;
  testing::FakeChart histo;
  ReadingPresenter presenter{form, graph};
  NoiseStatistics noise{form, graph};
  Histogram histogram{form, histo};
  AcquisitionRun run{form, link, graph, histo, presenter, noise, histogram};
  SettingsPanel panel{form};
  SamplingSelectors sampling_selectors{form};
  OffsetDac dac{form, link};
};

TEST(AcquisitionRun, OnceShowsTheFifthReadingAndEnds) {
  RunBench bench(0);
  bench.Stream(50, 10, 8);
  bench.Run();
  EXPECT_EQ(bench.port.sent.substr(0, 5), "N0020") << "N = 32 from the part-mode box";
  EXPECT_EQ(bench.SentAfterCount(), "U3\r");
  EXPECT_EQ(bench.form.Samples[1], 5) << "the first four readings are dropped";
  EXPECT_EQ(bench.form.txtDisplay.Caption(), "+0.00000149");
  EXPECT_EQ(bench.graph.PointCount(), 0) << "the graphs are not prepared";
  EXPECT_FALSE(bench.form.TestGo);
  EXPECT_GT(bench.dialogs.beeps, 0);
  EXPECT_EQ(bench.form.Panel(1).Text(), kFinished);
  EXPECT_EQ(bench.form.RunState, 0);
}

TEST(AcquisitionRun, SampleBlocksShowTheirMeanAndStatistics) {
  RunBench bench(1);
  bench.form.txtAverNumb.SetText("50");
  bench.Stream(300, 5, 4, 0x7FFF00);  // dropped
  bench.Stream(320, 5, 50, 100);      // block 1: codes 100..149
  bench.Stream(600, 5, 50, 1000);     // block 2
  bench.StopAt(1000);
  std::vector<std::string> panel_after_block;
  bench.time.Schedule(Millis{590}, [&] {
    panel_after_block.push_back(bench.form.Panel(1).Text());
    panel_after_block.push_back(bench.form.txtDeviation.Text());
  });
  bench.Run();

  EXPECT_EQ(panel_after_block, (std::vector<std::string>{"", "14.6"}));
  EXPECT_EQ(bench.form.Samples[1], 1000) << "block 2 starts at index 1 without dropped readings";
  EXPECT_EQ(bench.form.Samples[50], 1049);
  EXPECT_EQ(bench.graph.PointCount(), 51) << "points 0..50";
  EXPECT_EQ(bench.graph.PointY(0, 50), 0.00031263f) << "the last reading, 1049, in volts";
  EXPECT_EQ(bench.graph.series_color, 255u);
  EXPECT_EQ(bench.form.txtDisplay.Caption(), "+0.00030518") << "the mean 1024 in volts";
  EXPECT_EQ(bench.form.Panel(1).Text(), kFinished);
}

TEST(AcquisitionRun, BoxesAreClampedAndTheChipModeChosen) {
  EXPECT_EQ(AcquisitionRun::BlockLength(1), 2);
  EXPECT_EQ(AcquisitionRun::BlockLength(2.5), 2);
  EXPECT_EQ(AcquisitionRun::BlockLength(3.5), 4);
  EXPECT_EQ(AcquisitionRun::BlockLength(10000), 5000);
  EXPECT_EQ(AcquisitionRun::BlockLength(-1e300), 2);
  EXPECT_EQ(AcquisitionRun::ChipCount(0, false), 1);
  EXPECT_EQ(AcquisitionRun::ChipCount(300, false), 255);
  EXPECT_EQ(AcquisitionRun::ChipCount(200, true), 128);
  EXPECT_EQ(AcquisitionRun::MillisPerReading(66.667, false, 32), 66.667);
  EXPECT_EQ(AcquisitionRun::MillisPerReading(66.667, true, 32), 66.667 * 32);
  EXPECT_EQ(AcquisitionRun::MillisPerReading(0, true, 32), 0);

  RunBench bench(0);
  bench.form.txtAverNumb.SetText("abc");
  bench.form.txtPartMode.SetText("200");
  bench.form.optPolarity[1].SetValue(true);
  bench.form.cboAvgFil.SetListIndex(1);
  bench.Run(false);
  EXPECT_EQ(bench.form.txtAverNumb.Text(), "2");
  EXPECT_EQ(bench.form.txtPartMode.Text(), "128");
  EXPECT_EQ(bench.form.lblPartMode.Caption(), "Average N=1...128");
  EXPECT_EQ(bench.port.sent, "N0080");

  RunBench filtering(2);
  filtering.form.cboAvgFil.SetListIndex(2);
  filtering.form.txtPartMode.SetText("300");
  filtering.Stream(400, 10, 8);
  filtering.StopAt(1000);
  filtering.Run();
  EXPECT_EQ(filtering.port.sent, "N00FFU5\r");
  EXPECT_EQ(filtering.form.txtPartMode.Text(), "255");
  EXPECT_EQ(filtering.form.Samples[4], 8) << "the run's own tidying of the box does not stop it";
}

TEST(AcquisitionRun, LongSampleBlocksShowProgressAndBeepAtTheirEnd) {
  RunBench bench(1);
  bench.form.txtTdata.SetText("500");  // 12 readings of 0.5 s: a 6 s block
  bench.form.txtAverNumb.SetText("12");
  bench.form.prgProgress.SetMax(8);
  bench.Stream(300, 500, 4 + 12 + 3);
  std::vector<int> mid_block;  // 6 readings of block 1 are in: value, max, beeps
  bench.time.Schedule(Millis{300 + 500 * 9 + 100}, [&] {
    mid_block = {bench.form.prgProgress.Value(), bench.form.prgProgress.Max(), bench.dialogs.beeps};
  });
  int beeps_after_block_end = -1;
  bench.time.Schedule(Millis{300 + 500 * 15 + 100},
                      [&] { beeps_after_block_end = bench.dialogs.beeps; });
  bench.StopAt(300 + 500 * 18 + 100);
  bench.Run();
  ASSERT_EQ(mid_block.size(), 3u);
  EXPECT_EQ(mid_block[0], 6);
  EXPECT_EQ(mid_block[1], 12);
  EXPECT_GT(beeps_after_block_end, mid_block[2]);
  EXPECT_EQ(bench.form.prgProgress.Max(), 8) << "the bar's range is back after the run";
  EXPECT_EQ(bench.form.prgProgress.Value(), 0);

  RunBench quick(1);
  quick.form.txtTdata.SetText("66.667");  // 50 readings: 3.3 s, progress but no beep
  quick.Stream(300, 67, 4 + 50);
  int beeps_at_block_end = -1;
  quick.time.Schedule(Millis{300 + 67 * 53 + 30},
                      [&] { beeps_at_block_end = quick.dialogs.beeps; });
  quick.StopAt(300 + 67 * 60);
  quick.Run();
  EXPECT_EQ(beeps_at_block_end, 0);
}

}  // namespace
}  // namespace korvane
