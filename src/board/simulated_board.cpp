#include "board/simulated_board.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "board/clock_count.h"
#include "board/serial_line.h"

namespace korvane {

namespace {

/// What a factory-loaded board holds at 0000: a jump to 0040, where the program loops.
constexpr std::array<std::uint8_t, 3> kProgramEntry = {0x02, 0x00, 0x40};
constexpr std::array<std::uint8_t, 2> kProgramLoop = {0x80, 0xFE};
constexpr int kProgramLoopAddress = 0x40;

/// Letters a garbage answer must never contain: the prompts and the HEX reply letters.
constexpr std::string_view kMeaningfulReplies = "]>.TEX";

/// Keeps the noise's random sequence apart from the garbage answers' for the same seed.
constexpr std::uint32_t kNoiseSeedMix = 0x9E3779B9u;

}  // namespace

SimulatedBoard::SimulatedBoard(TimeBase& time, BoardOptions options)
    : time_(time),
      options_(options),
      sfrs_(ClockCountForClock(options.clock_mhz)),
      programming_(memory_, sfrs_),
      program_(sfrs_),
      random_(options.seed),
      adc_(options.adc_inputs, options.seed ^ kNoiseSeedMix),
      stream_(
          time, adc_, [this](std::string_view bytes) { Send(std::string(bytes)); },
          [this] { return transmit_free_at_; }),
      ignored_crs_left_(options.faults.ignored_bit_rate_crs) {
  program_.SetRegisterWritten(
      [this](int address, std::uint8_t value) { RegisterWritten(address, value); });
  if (options_.program_loaded) {
    for (std::size_t i = 0; i < kProgramEntry.size(); ++i) {
      memory_.WriteFlash(static_cast<int>(i), kProgramEntry[i]);
    }
    for (std::size_t i = 0; i < kProgramLoop.size(); ++i) {
      memory_.WriteFlash(kProgramLoopAddress + static_cast<int>(i), kProgramLoop[i]);
    }
  }
  StartBoardProgram();
}

void SimulatedBoard::SetProgResetInput(bool on) {
  if (on == prog_line_on_) return;
  prog_line_on_ = on;
  if (on) {
    ReleaseReset();
  } else {
    prog_reset_pulsed_ = true;
    HoldInReset();
  }
}

void SimulatedBoard::SetRunResetInput(bool on) {
  if (on == run_line_on_) return;
  run_line_on_ = on;
  if (on) {
    ReleaseReset();
  } else {
    HoldInReset();
  }
}

void SimulatedBoard::SetFaults(const BoardFaults& faults) {
  options_.faults = faults;
  prog_answers_ = 0;
  run_answers_ = 0;
  ignored_crs_left_ = faults.ignored_bit_rate_crs;
}

void SimulatedBoard::HoldInReset() {
  stream_.Stop();
  adc_.ForgetCalibration();
  mode_ = BoardMode::kHeldInReset;
  uart_bit_rate_ = 0;
}

void SimulatedBoard::ReleaseReset() {
  if (!prog_line_on_ || !run_line_on_) return;
  sfrs_.Reset();
  if (std::exchange(prog_reset_pulsed_, false)) {
    mode_ = BoardMode::kDetectingBitRate;
    uart_bit_rate_ = 0;
  } else {
    StartBoardProgram();
  }
}

void SimulatedBoard::StartBoardProgram() {
  if (!memory_.HasProgram()) {
    mode_ = BoardMode::kIdle;
    uart_bit_rate_ = 0;
    return;
  }
  mode_ = BoardMode::kRunning;
  uart_bit_rate_ = BoardProgram::LinkBitRate(memory_, options_.clock_mhz);
  program_.Start();
  stream_.Stop();
}

void SimulatedBoard::ReceiveSerial(std::string_view bytes, int sender_bit_rate) {
  for (const char byte : bytes) ReceiveByte(byte, sender_bit_rate);
}

void SimulatedBoard::ReceiveByte(char byte, int sender_bit_rate) {
  if (AnswersExhausted()) return;
  switch (mode_) {
    case BoardMode::kHeldInReset:
    case BoardMode::kIdle:
      return;
    case BoardMode::kDetectingBitRate:
      ReceiveBitRateCr(byte, sender_bit_rate);
      return;
    case BoardMode::kProgramming:
    case BoardMode::kRunning:
      break;
  }
  const char heard = BitRatesMatch(sender_bit_rate, uart_bit_rate_) ? byte : GarbledByte(byte);
  if (mode_ == BoardMode::kProgramming) {
    Handle(programming_.Receive(CorruptHexByte(heard)));
    return;
  }
  Handle(program_.Receive(heard));
  FollowProgramStream();
}

void SimulatedBoard::FollowProgramStream() {
  const auto kind = program_.Stream();
  if (kind && !stream_.IsRunning()) {
    stream_.Start(*kind, program_.AveragingCount(), ConverterSetup::FromRegisters(sfrs_),
                  options_.clock_mhz);
  } else if (!kind && stream_.IsRunning()) {
    stream_.Stop();
  }
}

void SimulatedBoard::RegisterWritten(int address, std::uint8_t value) {
  if (address == adc_register::kMode) adc_.Calibrate(static_cast<CalibrationMode>(value & 0x07));
}

/// The bit-rate detection measures the start of a carriage return; any other byte is ignored.
void SimulatedBoard::ReceiveBitRateCr(char byte, int sender_bit_rate) {
  if (byte != '\r' || sender_bit_rate <= 0) return;
  if (ignored_crs_left_ > 0) {
    --ignored_crs_left_;
    return;
  }
  uart_bit_rate_ = sender_bit_rate;
  mode_ = BoardMode::kProgramming;
  Handle(programming_.Start());
}

char SimulatedBoard::CorruptHexByte(char byte) {
  if (!programming_.InHexTransfer()) {
    hex_line_ = 1;
    hex_line_byte_ = 0;
    return byte;
  }
  if (byte == '\n' && hex_line_byte_ == 0) return byte;  // the LF of the last CR LF
  const bool corrupt = options_.faults.corrupted_hex_line == hex_line_ && hex_line_byte_ == 1;
  ++hex_line_byte_;
  if (byte == '\r') {
    ++hex_line_;
    hex_line_byte_ = 0;
  }
  if (!corrupt || byte == '\r') return byte;
  return byte == '0' ? '1' : '0';
}

bool SimulatedBoard::AnswersExhausted() const {
  const BoardFaults& faults = options_.faults;
  if (mode_ == BoardMode::kRunning) {
    return faults.run_mode_answer_limit && run_answers_ >= *faults.run_mode_answer_limit;
  }
  return faults.prog_mode_answer_limit && prog_answers_ >= *faults.prog_mode_answer_limit;
}

void SimulatedBoard::Handle(const InterpreterReply& reply) {
  if (reply.completed) commands_.push_back({time_.Now(), mode_, reply.command});
  if (reply.answered) ++(mode_ == BoardMode::kRunning ? run_answers_ : prog_answers_);
  Send(reply.bytes);
}

void SimulatedBoard::Send(std::string bytes) {
  if (bytes.empty()) return;
  transmit_free_at_ = std::max(transmit_free_at_, time_.Now()) +
                      static_cast<Micros::rep>(bytes.size()) * ByteTimeOnLine(uart_bit_rate_);
  if (!transmitter_) return;
  if (options_.faults.garbage_answers) {
    for (char& byte : bytes) byte = GarbageByte();
  }
  transmitter_(bytes, uart_bit_rate_);
}

char SimulatedBoard::GarbageByte() {
  for (;;) {
    const auto byte = static_cast<char>(random_() & 0xFFu);
    if (kMeaningfulReplies.find(byte) == std::string_view::npos) return byte;
  }
}

}  // namespace korvane
