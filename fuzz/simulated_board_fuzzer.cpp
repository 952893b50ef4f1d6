// The whole simulated board in virtual time: bytes on its receive line, its two reset inputs and
// the time that passes. The input is what the host does: bytes below F0 are sent to the board
// (a run of them in one go), bytes F0..FF drive the reset lines, the sender's bit rate and waits.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "board/board_mode.h"
#include "board/boot_bit_rates.h"
#include "board/serial_line.h"
#include "board/simulated_board.h"
#include "common/hex_digits.h"
#include "fuzz_check.h"
#include "platform/virtual_time.h"

namespace korvane {
namespace {

constexpr std::size_t kLongestInput = 2048;
constexpr Micros kLongestRun{3'000'000};
/// Callbacks the board may run per input. At the fastest data rate an averaging stream takes a
/// conversion every 6 us, so the time a run may last says little about its cost.
constexpr std::uint64_t kMostCallbacks = 2'000;
constexpr Micros kWaitStep{1'000};
constexpr std::size_t kResultLineLength = 8;  // six hex digits, CR, LF

enum HostAction : unsigned char {
  kProgLineOff = 0xF0,
  kProgLineOn,
  kRunLineOff,
  kRunLineOn,
  kProgResetPulse,
  kRunResetPulse,
  kToggleWrongRate,   ///< from now on send at 1.5 x the board's UART rate (or stop doing so)
  kNextDetectedRate,  ///< the next rate for the CR that starts programming mode
  kFirstWait,         ///< F8..FF: waits of kWaits
};

constexpr Millis kWaits[] = {Millis{1},  Millis{2},  Millis{5},   Millis{10},
                             Millis{20}, Millis{50}, Millis{100}, Millis{500}};
/// 115200 and 4000 the boot firmware's clock cannot make.
constexpr int kHostRates[] = {9600, 57600, 1200, 115200, 19200, 4000};
constexpr double kClockMhz = 11.0592;  // the default board's clock

bool IsResultLine(std::string_view bytes) {
  return bytes.size() == kResultLineLength && bytes.substr(6) == "\r\n" &&
         HexValue(bytes.substr(0, 6)).has_value();
}

/// Virtual time that counts the callbacks scheduled on it.
class CountedTime final : public TimeBase {
 public:
  Micros Now() const override { return time_.Now(); }
  void ProcessPendingEvents() override { time_.ProcessPendingEvents(); }
  void WaitForEvents() override { time_.WaitForEvents(); }
  CallbackId Schedule(Micros delay, std::function<void()> callback) override {
    ++scheduled_;
    return time_.Schedule(delay, std::move(callback));
  }
  void Cancel(CallbackId id) override { time_.Cancel(id); }
  void PauseWithoutEvents(Micros duration) override { time_.PauseWithoutEvents(duration); }

  void Advance(Micros duration) { time_.Advance(duration); }
  bool HasScheduled() const { return time_.HasScheduled(); }
  std::uint64_t Scheduled() const { return scheduled_; }

 private:
  VirtualTime time_;
  std::uint64_t scheduled_ = 0;
};

class HostRig {
 public:
  HostRig() : board_(time_, BoardOptions{}) {
    board_.SetTransmitter([this](std::string_view bytes, int bit_rate) { Sent(bytes, bit_rate); });
  }

  void Run(std::string_view input) {
    std::string pending;
    for (const char c : input) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < kProgLineOff) {
        pending.push_back(c);
        continue;
      }
      Send(pending);
      pending.clear();
      Act(byte);
      CheckState();
    }
    Send(pending);
    Wait(Millis{50});
    CheckState();
  }

 private:
  void Send(std::string_view bytes) {
    if (bytes.empty()) return;
    int rate = board_.UartBitRate();
    if (rate == 0) rate = kHostRates[detected_rate_index_];
    if (wrong_rate_) rate = rate * 3 / 2;
    const BoardMode mode = board_.Mode();
    const bool detecting = mode == BoardMode::kDetectingBitRate;
    board_.ReceiveSerial(bytes, rate);
    if (detecting && board_.Mode() == BoardMode::kProgramming) {
      Check(BootFirmwareLocksOnto(kClockMhz, rate) && board_.UartBitRate() == rate,
            "programming mode starts only at a rate the clock makes");
    }
    CheckState();
  }

  void SetLine(bool prog, bool on) {
    prog ? board_.SetProgResetInput(on) : board_.SetRunResetInput(on);
  }

  void Act(unsigned char action) {
    const bool prog = action == kProgLineOff || action == kProgLineOn || action == kProgResetPulse;
    bool& line_on = prog ? prog_line_on_ : run_line_on_;
    if (action <= kRunLineOn) {
      line_on = action % 2 == 1;
      SetLine(prog, line_on);
    } else if (action <= kRunResetPulse) {
      SetLine(prog, false);
      SetLine(prog, line_on);
    } else if (action == kToggleWrongRate) {
      wrong_rate_ = !wrong_rate_;
    } else if (action == kNextDetectedRate) {
      detected_rate_index_ = (detected_rate_index_ + 1) % std::size(kHostRates);
    } else {
      Wait(kWaits[action - kFirstWait]);
    }
  }

  /// Lets `wait` pass in steps, as long as the run's time and callbacks last.
  void Wait(Millis wait) {
    const Micros end = std::min<Micros>(time_.Now() + wait, kLongestRun);
    while (time_.Now() < end && time_.Scheduled() < kMostCallbacks) {
      time_.Advance(std::min(kWaitStep, end - time_.Now()));
    }
  }

  /// Everything the board puts on its line, checked as it goes.
  void Sent(std::string_view bytes, int bit_rate) {
    Check(bit_rate > 0 && bit_rate == board_.UartBitRate(), "the board sends at its UART's rate");
    const Micros byte_time = ByteTimeOnLine(bit_rate);
    const Micros backlog = std::max(line_free_at_ - time_.Now(), Micros{0});
    line_free_at_ = time_.Now() + backlog + static_cast<Micros::rep>(bytes.size()) * byte_time;
    if (board_.Mode() != BoardMode::kRunning) return;
    if (bytes == "]" || bytes == "?\r\n") return;
    Check(IsResultLine(bytes) && board_.IsStreaming(),
          "the board program sends prompts, and result lines while it streams");
    Check(backlog <= static_cast<Micros::rep>(kResultLineLength) * byte_time + Micros{2},
          "a result waits behind at most the one on the line");
  }

  void CheckState() const {
    const BoardMode mode = board_.Mode();
    Check((mode == BoardMode::kHeldInReset) == (!prog_line_on_ || !run_line_on_),
          "the chip is held in reset exactly while a reset line is off");
    Check((board_.UartBitRate() > 0) ==
              (mode == BoardMode::kRunning || mode == BoardMode::kProgramming),
          "the UART listens in programming mode and while the program runs");
    Check(!board_.IsStreaming() || mode == BoardMode::kRunning, "only the program streams");
    Check(time_.HasScheduled() == (board_.IsStreaming() || board_.IsErasing()),
          "nothing stays scheduled after a stream or an erase");
  }

  CountedTime time_;
  SimulatedBoard board_;
  bool prog_line_on_ = true;
  bool run_line_on_ = true;
  bool wrong_rate_ = false;
  std::size_t detected_rate_index_ = 0;
  Micros line_free_at_{0};
};

}  // namespace
}  // namespace korvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > korvane::kLongestInput) return -1;
  korvane::HostRig rig;
  rig.Run(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
