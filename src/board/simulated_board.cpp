#include "board/simulated_board.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "board/boot_bit_rates.h"
#include "board/clock_count.h"
#include "board/hex_image.h"
#include "board/image_trailer.h"
#include "board/serial_line.h"

namespace korvane {

namespace {

/// Size of the program a factory-loaded board holds (DemoProgramBytes), with its trailer.
constexpr std::size_t kFactoryProgramSize = 0x100;

/// Letters a garbage answer must never contain: the prompts and the HEX reply letters.
constexpr std::string_view kMeaningfulReplies = "]>.TEX";

/// Keeps the conversion noise's random sequence apart from the garbage answers' for the same seed.
constexpr std::uint32_t kNoiseSeedMix = 0x9E3779B9u;
/// Keeps the line noise's random sequence apart from both.
constexpr std::uint32_t kLineNoiseSeedMix = 0x85EBCA6Bu;
constexpr double kRandomRange = 4294967296.0;

}  // namespace

SimulatedBoard::SimulatedBoard(TimeBase& time, BoardOptions options)
    : time_(time),
      options_(options),
      sfrs_(ClockCountForClock(options.clock_mhz)),
      programming_(memory_, sfrs_),
      program_(sfrs_),
      random_(options.seed),
      noise_random_(options.seed ^ kLineNoiseSeedMix),
      adc_(options.adc_inputs, options.seed ^ kNoiseSeedMix, options.input_signals),
      stream_(
          time, adc_, [this](std::string_view bytes) { Send(std::string(bytes)); },
          [this] { return transmit_free_at_; }),
      ignored_crs_left_(options.faults.ignored_bit_rate_crs) {
  program_.SetRegisterWritten(
      [this](int address, std::uint8_t value) { RegisterWritten(address, value); });
  if (options_.program_loaded) WriteWholeImage(memory_, DemoProgramBytes(kFactoryProgramSize));
  StartBoardProgram();
}

SimulatedBoard::~SimulatedBoard() {
  if (erase_done_) time_.Cancel(*erase_done_);
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
  bytes_sent_ = 0;
  bytes_heard_ = 0;
  ignored_crs_left_ = faults.ignored_bit_rate_crs;
}

void SimulatedBoard::HoldInReset() {
  stream_.Stop();
  if (erase_done_) time_.Cancel(*erase_done_);
  erase_done_.reset();
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
  if (!HoldsWholeImage(memory_)) {
    mode_ = BoardMode::kIdle;
    uart_bit_rate_ = 0;
    return;
  }
  mode_ = BoardMode::kRunning;
  uart_bit_rate_ = BoardProgram::LinkBitRate(memory_, options_.clock_mhz);
  program_.Start();
  stream_.Stop();
}

void SimulatedBoard::ReceiveSerial(std::string_view bytes, int bit_rate) {
  for (const char byte : bytes) {
    if (uart_bit_rate_ == 0 || bit_rate == uart_bit_rate_) {
      ReceiveByte(byte, bit_rate);
      continue;
    }
    for (const char heard : ReadBytesAtRate(std::string_view(&byte, 1), bit_rate, uart_bit_rate_)) {
      ReceiveByte(heard, uart_bit_rate_);
    }
  }
}

void SimulatedBoard::ReceiveByte(char byte, int bit_rate) {
  if (AnswersExhausted() || IsErasing()) return;
  switch (mode_) {
    case BoardMode::kHeldInReset:
    case BoardMode::kIdle:
      return;
    case BoardMode::kDetectingBitRate:
      ReceiveBitRateCr(Noisy(byte, false), bit_rate);
      return;
    case BoardMode::kProgramming:
    case BoardMode::kRunning:
      break;
  }
  const char heard = Noisy(byte, false);
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
  if (byte != '\r' || !BootFirmwareLocksOnto(options_.clock_mhz, sender_bit_rate)) return;
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
  if (reply.busy_ms <= 0 || reply.bytes.empty()) {
    Send(reply.bytes);
    return;
  }
  Send(reply.bytes.substr(0, reply.bytes.size() - 1));
  const int busy_ms = options_.faults.erase_ms.value_or(reply.busy_ms);
  erase_done_ =
      time_.Schedule(Millis{busy_ms}, [this, prompt = reply.bytes.back()] { FinishErase(prompt); });
}

void SimulatedBoard::FinishErase(char prompt) {
  erase_done_.reset();
  Send(std::string(1, prompt));
}

void SimulatedBoard::Send(std::string bytes) {
  if (bytes.empty()) return;
  transmit_free_at_ = std::max(transmit_free_at_, time_.Now()) +
                      static_cast<Micros::rep>(bytes.size()) * ByteTimeOnLine(uart_bit_rate_);
  if (!transmitter_) return;
  if (options_.faults.garbage_answers) {
    for (char& byte : bytes) byte = GarbageByte();
  }
  for (char& byte : bytes) byte = Noisy(byte, true);
  transmitter_(bytes, uart_bit_rate_);
}

char SimulatedBoard::Noisy(char byte, bool to_host) {
  const BoardFaults& faults = options_.faults;
  auto bits = static_cast<std::uint8_t>(byte);
  const int nth = ++(to_host ? bytes_sent_ : bytes_heard_);
  if (faults.noisy_byte && faults.noisy_byte->to_host == to_host && faults.noisy_byte->nth == nth) {
    bits = static_cast<std::uint8_t>(bits ^ faults.noisy_byte->flipped_bits);
  }
  if (faults.noise_bit_error_rate > 0) {
    for (int bit = 0; bit < 8; ++bit) {
      const auto draw = static_cast<double>(noise_random_()) / kRandomRange;
      if (draw < faults.noise_bit_error_rate) bits = static_cast<std::uint8_t>(bits ^ (1u << bit));
    }
  }
  return static_cast<char>(bits);
}

char SimulatedBoard::GarbageByte() {
  for (;;) {
    const auto byte = static_cast<char>(random_() & 0xFFu);
    if (kMeaningfulReplies.find(byte) == std::string_view::npos) return byte;
  }
}

}  // namespace korvane
