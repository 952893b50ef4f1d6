// The simulated board, fed by the fuzzer in two ways. Its command interpreters, byte by byte:
// the boot firmware's programming mode with its HEX line checker, and the loaded board program;
// the input goes in as it is and once more with every record line's count and checksum put right,
// so that records reach the flash. Then the whole board in virtual time, with the input as what
// the host does: bytes below F0 are sent to the board (a run of them in one go), bytes F0..FF
// drive the reset lines, the sender's bit rate and waits.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "board/board_mode.h"
#include "board/board_program.h"
#include "board/clock_count.h"
#include "board/hex_loader.h"
#include "board/programming_mode.h"
#include "board/serial_line.h"
#include "board/simulated_board.h"
#include "common/hex_digits.h"
#include "common/number_text.h"
#include "fuzz_check.h"
#include "loader/hex_program.h"
#include "platform/virtual_time.h"

namespace korvane {
namespace {

constexpr std::size_t kLongestInput = 2048;
constexpr double kClockMhz = 11.0592;  // the default board's clock

/// `line` with its record's count and checksum put right; unchanged when it is no record.
std::string SealedLine(std::string_view line) {
  if (line.size() < 11 || line.size() % 2 == 0 || line.front() != ':') return std::string(line);
  std::vector<int> bytes;
  for (std::size_t i = 1; i < line.size(); i += 2) {
    const std::optional<int> value = HexValue(line.substr(i, 2));
    if (!value) return std::string(line);
    bytes.push_back(*value);
  }
  if (bytes.size() - 5 > 0xFF) return std::string(line);
  bytes.front() = static_cast<int>(bytes.size() - 5);
  int sum = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) sum += bytes[i];
  bytes.back() = (0x100 - (sum & 0xFF)) & 0xFF;
  std::string sealed = ":";
  for (const int byte : bytes) sealed += Hex2(byte);
  return sealed;
}

std::string Sealed(std::string_view stream) {
  std::string sealed;
  for (std::size_t start = 0;;) {
    const std::size_t end = stream.find('\r', start);
    const std::string_view line = stream.substr(start, end - start);
    const std::size_t line_feeds = std::min(line.find_first_not_of('\n'), line.size());
    sealed += line.substr(0, line_feeds);
    sealed += SealedLine(line.substr(line_feeds));
    if (end == std::string_view::npos) return sealed;
    sealed.push_back('\r');
    start = end + 1;
  }
}

/// The board's answer to a HEX line agrees with the program's own check of the line it sends.
void CheckHexLine(char byte, const InterpreterReply& reply, const BoardMemory& memory) {
  if (byte != '\r') {
    Check(reply.bytes.empty() && !reply.completed, "only a CR ends a HEX line");
    return;
  }
  Check(reply.completed && reply.bytes.size() == 1 &&
            std::string_view(".TEX").find(reply.bytes.front()) != std::string_view::npos,
        "a HEX line is answered with one of \".\", \"T\", \"E\", \"X\"");
  if (reply.command.size() >= HexLoader::kLineBufferSize) return;
  const HexRecordCheck check = CheckHexRecord(reply.command);
  const char answer = reply.bytes.front();
  Check((answer == 'E') ==
            (check.fault != HexFault::kNone && check.fault != HexFault::kRecordTypeError),
        "the board refuses a line exactly when the program's check finds it faulty");
  Check((answer == 'T') == (check.fault == HexFault::kNone && check.end_record),
        "only the end record finishes");
  if (answer != '.') return;
  const int address = *HexValue(std::string_view(reply.command).substr(3, 4));
  for (std::size_t i = 9; i + 2 < reply.command.size(); i += 2) {
    Check(memory.FlashByte(address + static_cast<int>(i - 9) / 2) ==
              *HexValue(std::string_view(reply.command).substr(i, 2)),
          "an accepted line's data is in the flash");
  }
}

void FeedProgrammingMode(std::string_view stream) {
  BoardMemory memory;
  SfrBank sfrs(ClockCountForClock(kClockMhz));
  ProgrammingMode mode(memory, sfrs);
  mode.Start();
  for (const char byte : stream) {
    const bool in_transfer = mode.InHexTransfer();
    const InterpreterReply reply = mode.Receive(byte);
    if (in_transfer) {
      CheckHexLine(byte, reply, memory);
      continue;
    }
    if (!reply.completed) {
      Check(reply.bytes.size() <= 1 && !reply.answered, "an unfinished command is only echoed");
      continue;
    }
    const std::string& answer = reply.bytes;
    Check(reply.command == "L" || answer.ends_with(">") || answer.ends_with("?\r\n"),
          "a complete command ends with the prompt or \"?\" CR LF");
    Check((reply.busy_ms > 0) == (reply.command == "M0000" || reply.command == "M8000") ||
              answer.ends_with("?\r\n"),
          "only an erase keeps the chip busy");
    if (reply.command.starts_with("CW") && answer.ends_with(">") && !answer.ends_with("X>")) {
      const int address = *HexValue(std::string_view(reply.command).substr(2, 4));
      const int value = *HexValue(std::string_view(reply.command).substr(6, 2));
      Check((BoardMemory::IsConfigAddress(address) ? memory.ConfigByte(address)
                                                   : memory.FlashByte(address)) == value,
            "a written byte reads back");
    }
  }
}

void FeedBoardProgram(std::string_view stream) {
  SfrBank sfrs(ClockCountForClock(kClockMhz));
  BoardProgram program(sfrs);
  program.Start();
  for (const char byte : stream) {
    const bool was_streaming = program.Stream().has_value();
    const InterpreterReply reply = program.Receive(byte);
    Check(reply.bytes.empty() || reply.bytes == "]" || reply.bytes == "?\r\n",
          "the board program answers only \"]\" and \"?\" CR LF");
    if (was_streaming) {
      Check(reply.bytes == (byte == '\r' ? "]" : "") &&
                program.Stream().has_value() == (byte != '\r'),
            "a stream hears only CR, which ends it");
    }
  }
}

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
    board_.ReceiveSerial(bytes, rate);
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
  using namespace korvane;
  if (size > kLongestInput) return -1;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string sealed = Sealed(input);
  for (const std::string_view bytes : {input, std::string_view(sealed)}) {
    FeedProgrammingMode(bytes);
    FeedBoardProgram(bytes);
  }
  HostRig rig;
  rig.Run(input);
  return 0;
}
