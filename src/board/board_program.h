#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "board/board_memory.h"
#include "board/interpreter_reply.h"
#include "board/sfr_bank.h"
#include "board/stream_kind.h"

namespace korvane {

/// The program loaded into the board's flash, prompt "]". It does not echo. Commands:
///   "RW" rr vv  write SFR rr (the ADC set-up registers, the clock registers, E6 the offset DAC)
///   "H1"        accepted         "N" nnnn  store the averaging count N (the host sends "N00" nn)
///   "U3", "U4", "U5"  start a conversion stream, no prompt; a CR ends it with "]"
///   CR alone    "]"
/// A malformed command (unknown letters, a byte >= 80h, a wrong digit, a CR inside a command) is
/// answered "?" CR LF and no prompt: the rest of the line up to the next CR is dropped, and that
/// CR is answered "]". A lone LF is ignored, and so is everything but CR while a stream runs. The
/// program sets the offset DAC to zero (E6 = 80) when it starts.
class BoardProgram {
 public:
  /// The link speed when the configuration memory holds no reload value.
  static constexpr int kDefaultBitRate = 9600;

  /// Told of every register an "RW" command writes, after the write.
  using RegisterWritten = std::function<void(int address, std::uint8_t value)>;

  explicit BoardProgram(SfrBank& sfrs) : sfrs_(sfrs) {}

  void SetRegisterWritten(RegisterWritten listener) { register_written_ = std::move(listener); }

  /// The program's link speed: clock / (32 x (65536 - R)) with R = [8013] x 256 + [8011] when
  /// bytes 8010 and 8012 hold the markers 4A and 4B; kDefaultBitRate otherwise.
  static int LinkBitRate(const BoardMemory& memory, double clock_mhz);

  /// Restarts the program: no command pending, no stream, N = 0.
  void Start();
  InterpreterReply Receive(char byte);

  int AveragingCount() const { return averaging_count_; }
  /// The running conversion stream; nothing when none runs.
  std::optional<StreamKind> Stream() const { return stream_; }

 private:
  InterpreterReply ReceiveDuringStream(char byte);
  InterpreterReply Execute(const std::string& command);

  SfrBank& sfrs_;
  std::string command_;
  int averaging_count_ = 0;
  /// The board (ConversionStream) sends results while this is set.
  std::optional<StreamKind> stream_;
  /// After a malformed command: the rest of its line is dropped up to the next CR.
  bool dropping_line_ = false;
  RegisterWritten register_written_;
};

}  // namespace korvane
