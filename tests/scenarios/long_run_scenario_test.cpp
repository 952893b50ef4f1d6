#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "support/result_tally.h"
#include "support/scenario_rig.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVANE_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KORVANE_ADDRESS_SANITIZER 1
#endif

namespace korvane {
namespace {

using testing::BlockSums;
using testing::ResultTally;
using testing::ScenarioRig;

#if defined(KORVANE_ADDRESS_SANITIZER)
/// The sanitizer's allocator keeps its own books: mallinfo2 does not see the heap in use.
constexpr bool kHeapMeasurable = false;
#else
constexpr bool kHeapMeasurable = true;
#endif

constexpr std::int64_t kReadings = 1'000'000;
constexpr std::int64_t kBlockLength = 5000;
constexpr std::int64_t kDroppedAtStart = 4;
/// Heap in use is compared from this block end on, once every buffer of the run has its size.
constexpr std::int64_t kWarmUpBlocks = 10;
constexpr std::size_t kHeapGrowthLimit = 32 * 1024;
constexpr double kAin1Volts = -0.75;
/// The link brings 720 readings a second: a million take 23 minutes of the board's time.
constexpr Millis kLastResortStop{3'000'000};
/// What summing a block's n readings divided by n in double can be off by at most, relative
/// to the mean: (n + 1) machine epsilons. A mean kept in single precision is far outside it.
constexpr double kMeanTolerance = (kBlockLength + 1) * std::numeric_limits<double>::epsilon();
/// Bipolar codes at the internal 2.5 V reference and gain 1.
constexpr double kVoltsPerCode = 2 * 2.5 / 16777215;

/// Bytes the program holds from malloc: small blocks in the arenas and the large ones malloc maps
/// on their own (a buffer that keeps growing soon lives there, out of `uordblks`' sight).
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

long long Difference(std::size_t later, std::size_t earlier) {
  return static_cast<long long>(later) - static_cast<long long>(earlier);
}

/// Runs at every block end (the histogram's redraw closes it): compares the block's statistics
/// as the program shows and keeps them with exact values from the tally's sums, samples the heap
/// in use, and schedules the user's stop click once a million readings have come.
class BlockEndCheck {
 public:
  BlockEndCheck(ScenarioRig& rig, ResultTally& tally) : rig_(rig), tally_(tally) {}

  void BlockEnded() {
    if (rig_.main.run().ReadingsTaken() == 0) return;  // the empty chart of the run's start
    const std::optional<BlockSums> block = tally_.TakeBlock();
    ++blocks_;
    if (!block) {
      Fail("no block of readings had come");
    } else {
      Compare(*block);
    }
    SampleHeap();
    if (tally_.Readings() >= kReadings && !stop_scheduled_) {
      stop_scheduled_ = true;
      // Half a second on, in the middle of the next block and of some result on the line.
      rig_.time.Schedule(Millis{500}, [this] {
        readings_at_stop_ = tally_.Readings();
        rig_.form.cmdCntr[2].Click();  // "Stop &ADC"
      });
    }
  }

  std::int64_t Blocks() const { return blocks_; }
  std::int64_t FailedBlocks() const { return failed_blocks_; }
  const std::string& FirstFailure() const { return first_failure_; }
  std::int64_t ReadingsAtStop() const { return readings_at_stop_; }
  /// Heap in use at the last block end less that at the end of the warm-up.
  long long HeapGrowth() const { return Difference(heap_last_, heap_after_warm_up_); }

 private:
  void Compare(const BlockSums& block) {
    const Form& form = rig_.form;
    const long double mean = block.Mean();
    const long double sdev = block.Sdev();
    const double shown_sdev = std::stod(form.txtDeviation.Text());
    const double shown_enob = std::stod(form.txtEfBits.Text());

    const long double mean_error = std::fabs(form.MeanCode - mean) / std::fabs(mean);
    // SDEV shows one decimal, ENOB two, both of the shown SDEV.
    const long double sdev_error = std::fabs(shown_sdev - sdev);
    const double enob_error = std::fabs(shown_enob - (24 - std::log2(shown_sdev)));
    // The time graph's band: the mean plus and minus four shown SDEVs, in volts.
    const long double band_low = (mean - 4 * shown_sdev) * kVoltsPerCode;
    const long double band_high = (mean + 4 * shown_sdev) * kVoltsPerCode;
    const long double band_error =
        std::max(std::fabs(rig_.adc_graph.y_min - band_low) / std::fabs(band_low),
                 std::fabs(rig_.adc_graph.y_max - band_high) / std::fabs(band_high));
    double in_bins = 0;
    for (int bin = 1; bin <= 20; ++bin) {
      const float height = rig_.histo.PointY(0, bin);
      if (height >= 1) in_bins += height;  // an empty bin is drawn a hair above zero
    }

    const auto count = static_cast<double>(block.count);
    if (block.count != kBlockLength || mean_error > kMeanTolerance || sdev_error > 0.05 + 1e-9 ||
        enob_error > 0.005 + 1e-9 || band_error > kMeanTolerance || in_bins > count ||
        in_bins < 0.99 * count) {
      Fail("mean " + std::to_string(form.MeanCode) + " for " +
           std::to_string(static_cast<double>(mean)) + ", SDEV " + form.txtDeviation.Text() +
           " for " + std::to_string(static_cast<double>(sdev)) + ", ENOB " + form.txtEfBits.Text() +
           ", " + std::to_string(in_bins) + " readings in the bins");
    }
  }

  void Fail(const std::string& what) {
    if (failed_blocks_++ == 0) first_failure_ = "block " + std::to_string(blocks_) + ": " + what;
  }

  void SampleHeap() {
    if (!kHeapMeasurable) return;
    const std::size_t in_use = HeapInUse();
    if (blocks_ == kWarmUpBlocks) heap_after_warm_up_ = in_use;
    if (blocks_ < kWarmUpBlocks) return;
    heap_last_ = in_use;
  }

  ScenarioRig& rig_;
  ResultTally& tally_;
  std::int64_t blocks_ = 0;
  std::int64_t failed_blocks_ = 0;
  std::string first_failure_;
  bool stop_scheduled_ = false;
  std::int64_t readings_at_stop_ = 0;
  std::size_t heap_after_warm_up_ = 0;
  std::size_t heap_last_ = 0;
};

/// Results in a capture file: each came with CR LF.
std::int64_t CapturedResults(const std::filesystem::path& capture) {
  std::ifstream in(capture, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  constexpr std::string_view kLineEnd = "<0D><0A>";
  std::int64_t results = 0;
  const std::string captured = text.str();
  for (auto at = captured.find(kLineEnd); at != std::string::npos;
       at = captured.find(kLineEnd, at + kLineEnd.size())) {
    ++results;
  }
  return results;
}

// A "Continuous" run at the link's full speed and the smallest decimation, blocks of 5000, for
// a million readings (about 23 minutes of the board's time), with the traffic captured: every
// block's statistics match the exact ones of its codes as the board sent them, the heap in use
// stays flat, and the stop click ends the run with every reading used.
TEST(LongRunScenario, MillionReadingsWithoutDriftOrGrowth) {
  BoardOptions options;
  options.adc_inputs.volts[1] = kAin1Volts;
  ScenarioRig rig(1, options);
  rig.KeepTraffic(false);
  ResultTally tally(kDroppedAtStart, kBlockLength);
  rig.port.AddTrafficListener(&tally);
  rig.main.Form_Load();
  ASSERT_EQ(rig.port.BitRate(), 57600);
  for (int step = 0; step < 3; ++step) rig.form.cmdChanelMinusPlus[1].Click();  // AINCOM -> AIN1
  ASSERT_EQ(rig.form.txtChannel[0].Text(), "AIN1");
  rig.form.txtDecimation.SetText("1");
  rig.form.txtAverNumb.SetText(std::to_string(kBlockLength));
  rig.form.cboSampling.SetListIndex(2);  // "Continuous"
  rig.form.chkLogFile.SetValue(1);
  rig.main.command_buttons().SetCaptureFolder(rig.hex_folder.Path());
  BlockEndCheck check(rig, tally);
  rig.histo.on_redraw = [&check] { check.BlockEnded(); };

  // Should the block ends never come, the run is still stopped, well after a million readings.
  const auto last_resort = rig.time.Schedule(kLastResortStop, [&rig] {
    if (rig.form.cmdCntr[2].Caption() == "Stop &ADC") rig.form.cmdCntr[2].Click();
  });

  rig.form.cmdCntr[2].Click();  // "Run &ADC"; returns when the stop click has ended the run
  rig.time.Cancel(last_resort);
  rig.histo.on_redraw = nullptr;
  rig.port.SetCaptureFile("");  // closes the capture, as ending the program does

  const AcquisitionRun& run = rig.main.run();
  EXPECT_GE(run.ReadingsTaken(), kReadings);
  EXPECT_EQ(run.ReadingsUsed(), run.ReadingsTaken() - kDroppedAtStart);
  // The stop may come with a result that arrived in the same instant and is left unread.
  EXPECT_LE(run.ReadingsTaken(), check.ReadingsAtStop());
  EXPECT_GE(run.ReadingsTaken(), check.ReadingsAtStop() - 1);
  EXPECT_EQ(check.Blocks(), run.ReadingsUsed() / kBlockLength) << "a check at every block end";
  EXPECT_EQ(check.FailedBlocks(), 0) << check.FirstFailure();
  EXPECT_EQ(tally.BadLines(), 0);
  EXPECT_EQ(tally.Overruns(), 0);

  EXPECT_EQ(rig.form.Panel(1).Text(), "ADC  CONVERSION  IS  FINISHED ");
  EXPECT_EQ(rig.form.cmdCntr[2].Caption(), "Run &ADC");
  for (const auto& button : rig.form.cmdCntr) EXPECT_TRUE(button.Enabled());
  EXPECT_TRUE(rig.form.cmdReset.Enabled());
  EXPECT_FALSE(rig.form.TestGo);
  EXPECT_FALSE(rig.board.IsStreaming());
  ASSERT_FALSE(rig.board.ReceivedCommands().empty());
  EXPECT_EQ(rig.board.ReceivedCommands().back().text, "\r") << "the stream was ended";
  EXPECT_TRUE(rig.dialogs.messages.empty());

  const auto capture = rig.hex_folder.Path() / "capture.txt";
  EXPECT_GE(CapturedResults(capture), check.ReadingsAtStop());

  if (kHeapMeasurable) {
    EXPECT_LE(check.HeapGrowth(), static_cast<long long>(kHeapGrowthLimit))
        << "heap in use from block " << kWarmUpBlocks << " to the last";
  }
}

}  // namespace
}  // namespace korvane
