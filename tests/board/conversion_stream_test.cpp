#include <gtest/gtest.h>

#include <chrono>
#include <complex>
#include <cstdint>
#include <functional>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "board_bench.h"
#include "code_statistics.h"

namespace korvane {
namespace {

/// The host's start-up set-up (15 Hz on a 1.8432 MHz board), then the given changes.
const std::vector<std::string> kStartUpSetUp = {"RWFB01", "RWF600", "RWD788", "RWDE80",
                                                "RWDF07", "RWDC30", "RWDD31"};

/// A board in its program at 9600 bit/s (the program's speed without a reload value).
struct StreamBench : BoardBench {
  explicit StreamBench(BoardOptions options = ClockedAt(1.8432)) : BoardBench(options) {
    Open(9600);
    PulseRunReset();
    Write(kStartUpSetUp);
  }

  void Write(const std::vector<std::string>& commands) {
    for (const auto& command : commands) EXPECT_EQ(Exchange(command, Millis{20}), "]") << command;
  }

  /// Starts a stream with `command` and returns what arrives during `duration`.
  std::string Stream(std::string_view command, Micros duration) {
    port.TakeInput();
    port.Transmit(command);
    return Collect(duration);
  }

  std::string Collect(Micros duration) {
    time.Advance(duration);
    return port.TakeInput();
  }

  /// Ends the stream; true when the prompt came and nothing stays scheduled.
  bool End() {
    port.Transmit("\r");
    time.Advance(Millis{20});
    const std::string tail = port.TakeInput();
    return tail.ends_with("]") && !board.IsStreaming() && !time.HasScheduled();
  }
};

/// The codes of complete result lines (signed as 24-bit two's complement when `bipolar`); fails
/// the test for any line that is not six upper-case hexadecimal digits, CR and LF.
std::vector<std::int32_t> Codes(std::string_view text, bool bipolar = true) {
  std::vector<std::int32_t> codes;
  for (std::size_t end; (end = text.find("\r\n")) != std::string_view::npos;
       text.remove_prefix(end + 2)) {
    const std::string_view line = text.substr(0, end);
    const bool well_formed =
        line.size() == 6 && line.find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
    EXPECT_TRUE(well_formed) << "line '" << line << "'";
    if (!well_formed) continue;
    auto code = static_cast<std::int32_t>(std::stoul(std::string(line), nullptr, 16));
    if (bipolar && code >= 0x800000) code -= 0x1000000;
    codes.push_back(code);
  }
  return codes;
}

TEST(ConversionStream, ResultsComeAtTheDataRateOfTheRegisters) {
  StreamBench slow;  // 1.8432 MHz, A 0, D 1920: 15 Hz
  // "U3" reaches the board after 2084 us at 9600 bit/s, the first conversion ends 66667 us later,
  // and its 8 bytes take 8336 us on the line.
  EXPECT_EQ(slow.Stream("U3", Micros{2084 + 66667 + 1041}), "");
  const std::string first_line = slow.Collect(Micros{8336 - 1041});
  EXPECT_EQ(first_line.size(), 8u);
  EXPECT_EQ(Codes(first_line).size(), 1u);
  const std::string ten_seconds = slow.Collect(Micros{10'500'000 - 77'087});
  EXPECT_EQ(Codes(ten_seconds).size(), 156u);
  EXPECT_TRUE(ten_seconds.ends_with("\r\n"));
  EXPECT_TRUE(slow.End());

  StreamBench fast_clock(ClockedAt(11.0592));
  fast_clock.Write({"RWF604"});  // 11.0592 MHz / 5 / 64 / 1920: 18 Hz
  EXPECT_EQ(Codes(fast_clock.Stream("U3", Micros{10'500'000})).size(), 188u);
  EXPECT_TRUE(fast_clock.End());
}

/// Virtual time whose timers fire up to `late` late, as real-time timers do on a busy machine.
class LateTimers final : public TimeBase {
 public:
  LateTimers(VirtualTime& time, Millis late) : time_(time), late_(late) {}
  Micros Now() const override { return time_.Now(); }
  void ProcessPendingEvents() override { time_.ProcessPendingEvents(); }
  void WaitForEvents() override { time_.WaitForEvents(); }
  CallbackId Schedule(Micros delay, std::function<void()> callback) override {
    return time_.Schedule(late_ * ((delay + late_ - Micros{1}) / late_), std::move(callback));
  }
  void Cancel(CallbackId id) override { time_.Cancel(id); }
  void PauseWithoutEvents(Micros duration) override { time_.PauseWithoutEvents(duration); }

 private:
  VirtualTime& time_;
  Millis late_;
};

// The board keeps its own time: late timers neither lose conversions the idle UART would have
// sent nor let results pile up behind a link slower than the data rate.
TEST(ConversionStream, LateTimersLoseNothingAndStillGiveTheLinksPace) {
  struct Case {
    const char* decimation;  // RWDE/RWDF: low and high byte
    Millis late;
    std::size_t fewest, most;  // results in one second
  };
  for (const Case& c : {Case{"RWDE08RWDF00", Millis{1}, 680, 720},      // 21.6 kHz, the link's pace
                        Case{"RWDEC0RWDF03", Millis{10}, 175, 180}}) {  // 180 Hz, every one
    SCOPED_TRACE(c.decimation);
    VirtualTime virtual_time;
    LateTimers time(virtual_time, c.late);
    SimulatedBoard board(time, ClockedAt(11.0592));
    for (const auto& [address, value] :
         {std::pair{0x8010, 0x4A}, {0x8011, 0xFA}, {0x8012, 0x4B}, {0x8013, 0xFF}}) {
      board.Memory().WriteConfig(address, static_cast<std::uint8_t>(value));
    }
    SimulatedSerialPort port(time, board, 1);
    port.SetCommPort(1);
    port.SetPortSettings("57600,N,8,1");
    port.OpenPort();
    port.SetRunResetLine(false);
    port.SetRunResetLine(true);
    port.Transmit(std::string(c.decimation) + "RWDC30RWDD31");
    virtual_time.Advance(Millis{100});
    port.TakeInput();

    port.Transmit("U3");
    virtual_time.Advance(Millis{1000});
    const auto codes = Codes(port.TakeInput());
    EXPECT_GE(codes.size(), c.fewest);
    EXPECT_LE(codes.size(), c.most);
    port.Transmit("\r");
    virtual_time.Advance(3 * c.late +
                         Millis{5});  // the CR, the results on their way and the prompt
    const std::string end = port.TakeInput();
    EXPECT_TRUE(end.ends_with("]")) << end;
    EXPECT_FALSE(virtual_time.HasScheduled());
  }
}

TEST(ConversionStream, CodesFollowTheInputsAndTheRegisters) {
  BoardOptions options = ClockedAt(1.8432);
  options.adc_inputs.volts[0] = 1.0;
  StreamBench bench(options);
  const auto mean_of_two_seconds = [&bench](std::string_view start, bool bipolar = true) {
    const double mean = Mean(Codes(bench.Stream(start, Micros{2'000'000}), bipolar));
    EXPECT_TRUE(bench.End());
    return mean;
  };
  EXPECT_NEAR(mean_of_two_seconds("U3"), 0, 2) << "AINCOM against itself, calibrated";
  bench.Write({"RWD708"});
  EXPECT_NEAR(mean_of_two_seconds("U3"), 3355443, 2);
  bench.Write({"RWD788", "RWE6FF"});
  EXPECT_NEAR(mean_of_two_seconds("U3"), 4161536, 2) << "offset DAC +127";

  // After a reset the converter is uncalibrated until register DD asks for a calibration.
  bench.PulseRunReset();
  bench.Write({"RWD788", "RWDC30", "RWDE80", "RWDF07", "RWDD30"});
  EXPECT_NEAR(mean_of_two_seconds("U3"), 504.3, 2);
  bench.Write({"RWDD32"});
  EXPECT_TRUE(bench.board.AdcCalibration().offset_removed);
  EXPECT_FALSE(bench.board.AdcCalibration().gain_removed);
  EXPECT_NEAR(mean_of_two_seconds("U3"), 0, 2);
}

TEST(ConversionStream, TonesAreTakenAtTheInstantsOfTheConversions) {
  BoardOptions options = ClockedAt(1.8432);
  options.input_signals.sines.push_back({.input = 0,
                                         .amplitude_volts = 0.5,
                                         .frequency_hz = 1.0,
                                         .phase_degrees = 0,
                                         .harmonics = {}});
  StreamBench bench(options);
  bench.Write({"RWD708"});
  // 15 conversions a second, each 1/15 s after the one before: 20 whole periods of the tone.
  auto codes = Codes(bench.Stream("U3", Micros{20'100'000}));
  ASSERT_GE(codes.size(), 300u);
  codes.resize(300);
  std::complex<double> seen = 0.0;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    seen += 2.0 / 300.0 * codes[i] *
            std::polar(1.0, -2.0 * std::numbers::pi * static_cast<double>(i) / 15.0);
  }
  // Sinc3 at 15 Hz passes 1 Hz at [sin(pi / 15) / (1920 sin(pi / 28800))]^3 = 0.978275.
  EXPECT_NEAR(std::abs(seen), 0.5 * 0.978275 * 16777215 / 5.0, 3.0);
  EXPECT_TRUE(bench.End());
}

}  // namespace
}  // namespace korvane
