#include <gtest/gtest.h>
#include <malloc.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <utility>

#include "support/scenario_rig.h"

#if defined(__SANITIZE_ADDRESS__)
#define KORVANE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVANE_ADDRESS_SANITIZER 1
#endif
#endif

namespace korvane {
namespace {

using testing::ScenarioRig;
__extension__ typedef __int128 WideInt;

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
constexpr long long kHeapGrowthLimit = 32 * 1024;
/// What summing a block's n readings divided by n in double can be off by at most, relative
/// to the mean: (n + 1) machine epsilons. A mean kept in single precision is far outside it.
constexpr double kMeanTolerance = (kBlockLength + 1) * std::numeric_limits<double>::epsilon();
/// Bipolar codes at the internal 2.5 V reference and gain 1.
constexpr double kVoltsPerCode = 2 * 2.5 / 16777215;

/// Bytes the program holds from malloc: small blocks in the arenas and the large ones malloc maps
/// on their own (a buffer that keeps growing soon lives there, out of `uordblks`' sight).
long long HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<long long>(info.uordblks + info.hblkhd);
}

/// Exact sums of one block's codes.
struct BlockSums {
  std::int64_t count = 0, sum = 0;
  WideInt sum_of_squares = 0;
};

/// Reads the conversion results off the line apart from the program (after the "U3" that starts
/// the stream, six hexadecimal digits and CR LF each, a 24-bit two's complement code, until the
/// CR sent to the board) and sums them in the run's blocks. At every block end (the histogram's
/// redraw closes it) it compares the statistics the program shows with the exact ones, samples
/// the heap, and schedules the user's stop click once a million readings have come.
class BlockCheck final : public TrafficListener {
 public:
  explicit BlockCheck(ScenarioRig& rig) : rig_(rig) {}

  void OnTraffic(TrafficDirection direction, std::string_view bytes) override {
    for (const char byte : bytes) {
      if (direction == TrafficDirection::kToBoard) {
        if (previous_sent_ == 'U' && byte == '3') {
          streaming_ = true;
          readings_ = 0;
          line_ = {};
        } else if (byte == '\r') {
          streaming_ = false;
        }
        previous_sent_ = byte;
      } else if (streaming_ && byte != '\n') {
        Received(byte);
      }
    }
  }

  void BlockEnded() {
    if (rig_.main.run().ReadingsTaken() == 0) return;  // the empty chart of the run's start
    ++blocks_;
    if (!finished_) {
      Fail("no block of readings had come");
    } else {
      Compare(*std::exchange(finished_, std::nullopt));
    }
    if (kHeapMeasurable && blocks_ >= kWarmUpBlocks) {
      heap_last_ = HeapInUse();
      if (blocks_ == kWarmUpBlocks) heap_after_warm_up_ = heap_last_;
    }
    if (readings_ >= kReadings && readings_at_stop_ < 0) {
      readings_at_stop_ = 0;
      // Half a second on, in the middle of the next block and of some result on the line.
      rig_.time.Schedule(Millis{500}, [this] {
        readings_at_stop_ = readings_;
        rig_.form.cmdCntr[2].Click();  // "Stop &ADC"
      });
    }
  }

  std::int64_t blocks_ = 0, failed_blocks_ = 0, bad_lines_ = 0, overruns_ = 0;
  std::int64_t readings_ = 0, readings_at_stop_ = -1;
  std::string first_failure_;
  long long heap_after_warm_up_ = 0, heap_last_ = 0;

 private:
  void Received(char byte) {
    if (byte != '\r') {
      const bool digit = (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'F');
      line_.bad = line_.bad || !digit || line_.digits == 6;
      if (line_.bad) return;
      line_.code = line_.code * 16 + (byte <= '9' ? byte - '0' : byte - 'A' + 10);
      ++line_.digits;
      return;
    }
    if (line_.bad || line_.digits != 6) {
      ++bad_lines_;
    } else if (readings_++ >= kDroppedAtStart) {
      const std::int64_t code = line_.code >= 0x800000 ? line_.code - 0x1000000 : line_.code;
      ++open_.count;
      open_.sum += code;
      open_.sum_of_squares += WideInt{code} * code;
      if (open_.count == kBlockLength) {
        if (finished_) ++overruns_;
        finished_ = std::exchange(open_, {});
      }
    }
    line_ = {};
  }

  void Compare(const BlockSums& block) {
    const Form& form = rig_.form;
    const auto n = static_cast<long double>(block.count);
    const long double mean = static_cast<long double>(block.sum) / n;
    const long double sdev =
        std::sqrt(static_cast<long double>(WideInt{block.count} * block.sum_of_squares -
                                           WideInt{block.sum} * block.sum) /
                  (n * (n - 1)));
    const double shown_sdev = std::stod(form.txtDeviation.Text());
    const long double mean_error = std::fabs(form.MeanCode - mean) / std::fabs(mean);
    // SDEV shows one decimal, ENOB two, both of the shown SDEV.
    const long double sdev_error = std::fabs(shown_sdev - sdev);
    const double enob_error =
        std::fabs(std::stod(form.txtEfBits.Text()) - (24 - std::log2(shown_sdev)));
    // The time graph's band: the mean plus and minus four shown SDEVs, in volts.
    const long double low = (mean - 4 * shown_sdev) * kVoltsPerCode;
    const long double high = (mean + 4 * shown_sdev) * kVoltsPerCode;
    const long double band_error =
        std::max(std::fabs(rig_.adc_graph.y_min - low) / std::fabs(low),
                 std::fabs(rig_.adc_graph.y_max - high) / std::fabs(high));
    double in_bins = 0;
    for (int bin = 1; bin <= 20; ++bin) {
      const float height = rig_.histo.PointY(0, bin);
      if (height >= 1) in_bins += height;  // an empty bin is drawn a hair above zero
    }
    if (block.count != kBlockLength || mean_error > kMeanTolerance || sdev_error > 0.05 + 1e-9 ||
        enob_error > 0.005 + 1e-9 || band_error > kMeanTolerance || in_bins > kBlockLength ||
        in_bins < 0.99 * kBlockLength) {
      Fail("mean " + std::to_string(form.MeanCode) + " for " +
           std::to_string(static_cast<double>(mean)) + ", SDEV " + form.txtDeviation.Text() +
           " for " + std::to_string(static_cast<double>(sdev)) + ", ENOB " + form.txtEfBits.Text() +
           ", " + std::to_string(in_bins) + " readings in the bins");
    }
  }

  void Fail(const std::string& what) {
    if (failed_blocks_++ == 0) first_failure_ = "block " + std::to_string(blocks_) + ": " + what;
  }

  ScenarioRig& rig_;
  bool streaming_ = false;
  char previous_sent_ = 0;
  struct {
    std::int64_t code = 0;
    int digits = 0;
    bool bad = false;
  } line_;
  BlockSums open_;
  std::optional<BlockSums> finished_;
};

// A "Continuous" run at the link's full speed and the smallest decimation, blocks of 5000, for
// a million readings (about 23 minutes of the board's time), with the traffic captured: every
// block's statistics match the exact ones of its codes as the board sent them, the heap in use
// stays flat, and the stop click ends the run with every reading used.
TEST(LongRunScenario, MillionReadingsWithoutDriftOrGrowth) {
  BoardOptions options;
  options.adc_inputs.volts[1] = -0.75;
  ScenarioRig rig(1, options);
  rig.KeepTraffic(false);
  BlockCheck check(rig);
  rig.port.AddTrafficListener(&check);
  rig.Start();
  ASSERT_EQ(rig.port.BitRate(), 57600);
  for (int step = 0; step < 3; ++step) rig.form.cmdChanelMinusPlus[1].Click();  // AINCOM -> AIN1
  ASSERT_EQ(rig.form.txtChannel[0].Text(), "AIN1");
  rig.form.txtDecimation.SetText("1");
  rig.form.txtAverNumb.SetText(std::to_string(kBlockLength));
  rig.form.cboSampling.SetListIndex(2);  // "Continuous"
  rig.form.chkLogFile.SetValue(1);
  rig.histo.on_redraw = [&check] { check.BlockEnded(); };
  // Should the block ends never come, the run is still stopped, well after a million readings
  // (the link brings 720 readings a second: a million take 23 minutes).
  const auto last_resort = rig.time.Schedule(Millis{3'000'000}, [&rig] {
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
  EXPECT_LE(run.ReadingsTaken(), check.readings_at_stop_);
  EXPECT_GE(run.ReadingsTaken(), check.readings_at_stop_ - 1);
  EXPECT_EQ(check.blocks_, run.ReadingsUsed() / kBlockLength) << "a check at every block end";
  EXPECT_EQ(check.failed_blocks_, 0) << check.first_failure_;
  EXPECT_EQ(check.bad_lines_ + check.overruns_, 0);
  EXPECT_EQ(rig.form.Panel(1).Text(), "ADC  CONVERSION  IS  FINISHED ");
  EXPECT_EQ(rig.Buttons(), ScenarioRig::kIdle);
  EXPECT_FALSE(rig.form.TestGo);
  EXPECT_FALSE(rig.board.IsStreaming());
  EXPECT_EQ(rig.Commands(BoardMode::kRunning).substr(rig.Commands(BoardMode::kRunning).size() - 3),
            " CR")
      << "the stream was ended";
  EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});

  // Every result of the capture came with CR LF.
  std::ostringstream capture;
  capture << std::ifstream(rig.hex_folder.Path() / "capture.txt", std::ios::binary).rdbuf();
  const std::string captured = capture.str();
  std::int64_t results = 0;
  for (auto at = captured.find("<0D><0A>"); at != std::string::npos;
       at = captured.find("<0D><0A>", at + 1)) {
    ++results;
  }
  EXPECT_GE(results, check.readings_at_stop_);
  if (kHeapMeasurable) {
    EXPECT_LE(check.heap_last_ - check.heap_after_warm_up_, kHeapGrowthLimit)
        << "heap in use from block " << kWarmUpBlocks << " to the last";
  }
}

}  // namespace
}  // namespace korvane
