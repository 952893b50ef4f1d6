#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "board/adc_inputs.h"
#include "board/adc_model.h"
#include "board/board_memory.h"
#include "board/board_mode.h"
#include "board/board_options.h"
#include "board/board_program.h"
#include "board/conversion_stream.h"
#include "board/interpreter_reply.h"
#include "board/programming_mode.h"
#include "board/received_command.h"
#include "board/sfr_bank.h"
#include "platform/time_base.h"

namespace korvane {

/// A behavioural model of the evaluation board: the chip's two reset inputs, its UART and its two
/// command interpreters (the boot firmware's programming mode, prompt ">", and the loaded board
/// program, prompt "]"). Deterministic for given options and input.
///
/// Resets: while either reset input is off the chip is held in reset and hears nothing. When both
/// are on again it starts in programming mode if the programming-reset input went off since the
/// last start, else it runs the board program. The program runs only when the flash holds a
/// whole image (HoldsWholeImage); otherwise the chip stays idle and silent. Power-up runs the
/// program. Programming mode first waits for a carriage return and adopts its bit rate if the
/// clock can make it (BootFirmwareLocksOnto); the board program talks at the rate its
/// configuration bytes 8010..8013 give (BoardProgram). Bytes sent at another rate than the
/// UART's are read as the UART would read them (ReadAtRate). Erases take their time.
/// Flash and configuration memory are nonvolatile; SFRs go back to 00 at every reset (the board
/// program then sets the offset DAC, E6, to zero: 80).
///
/// The converter (AdcModel) converts what ConverterInputs holds, as the registers set it up.
/// Writing register DD with a calibration mode calibrates it; a reset forgets the calibration.
/// A "U" command streams results (ConversionStream) until a CR or any reset ends the stream.
class SimulatedBoard {
 public:
  /// Puts bytes from the board onto the line, sent at `bit_rate`.
  using Transmitter = std::function<void(std::string_view bytes, int bit_rate)>;

  explicit SimulatedBoard(TimeBase& time, BoardOptions options = {});
  ~SimulatedBoard();
  SimulatedBoard(const SimulatedBoard&) = delete;
  SimulatedBoard& operator=(const SimulatedBoard&) = delete;

  /// The port that carries the board's line installs this; empty drops everything sent.
  void SetTransmitter(Transmitter transmitter) { transmitter_ = std::move(transmitter); }

  /// on = the line's idle level; a reset pulse is on, off, on.
  void SetProgResetInput(bool on);
  void SetRunResetInput(bool on);
  /// Bytes that have arrived on the board's receive line, read at `bit_rate`: the sender's rate,
  /// or the UART's when the line already re-read them. Bytes at a rate other than the UART's are
  /// re-read one by one (ReadAtRate).
  void ReceiveSerial(std::string_view bytes, int bit_rate);

  /// The UART's bit rate; 0 when the board is not listening (in reset, idle, or still waiting
  /// for the carriage return that sets the programming-mode rate).
  int UartBitRate() const { return uart_bit_rate_; }
  BoardMode Mode() const { return mode_; }

  /// Replaces the injected faults and starts their counts again.
  void SetFaults(const BoardFaults& faults);

  const BoardMemory& Memory() const { return memory_; }
  BoardMemory& Memory() { return memory_; }
  std::uint8_t Sfr(int address) const { return sfrs_.Read(address); }
  const BoardProgram& Program() const { return program_; }
  /// Every command the interpreters took in, oldest first.
  const std::vector<ReceivedCommand>& ReceivedCommands() const { return commands_; }
  /// Forgets the commands taken so far, so that a test sees only what follows.
  void ClearReceivedCommands() { commands_.clear(); }
  double ClockMhz() const { return options_.clock_mhz; }

  /// What the converter's inputs carry (pin volts, chip temperature, external reference); a
  /// change takes effect at the next conversion.
  AdcInputs& ConverterInputs() { return adc_.Inputs(); }
  ChipCalibration AdcCalibration() const { return adc_.Calibration(); }
  bool IsStreaming() const { return stream_.IsRunning(); }
  /// True while an erase runs: the chip hears nothing until its prompt.
  bool IsErasing() const { return erase_done_.has_value(); }

 private:
  void HoldInReset();
  void ReleaseReset();
  void StartBoardProgram();
  void ReceiveByte(char byte, int sender_bit_rate);
  void ReceiveBitRateCr(char byte, int sender_bit_rate);
  /// Applies the corrupted-HEX-line fault to one byte the programming mode is about to hear.
  char CorruptHexByte(char byte);
  bool AnswersExhausted() const;
  void Handle(const InterpreterReply& reply);
  void Send(std::string bytes);
  char GarbageByte();
  /// Applies the noise faults to one byte on the line.
  char Noisy(char byte, bool to_host);
  void FinishErase(char prompt);
  void RegisterWritten(int address, std::uint8_t value);
  /// Starts or stops the conversion stream as the board program asks.
  void FollowProgramStream();

  TimeBase& time_;
  BoardOptions options_;
  BoardMemory memory_;
  SfrBank sfrs_;
  ProgrammingMode programming_;
  BoardProgram program_;
  std::mt19937 random_;
  std::mt19937 noise_random_;
  int bytes_sent_ = 0;
  int bytes_heard_ = 0;
  std::optional<TimeBase::CallbackId> erase_done_;
  AdcModel adc_;
  /// When the UART has sent everything it was given.
  Micros transmit_free_at_{0};
  ConversionStream stream_;
  Transmitter transmitter_;
  BoardMode mode_ = BoardMode::kIdle;
  int uart_bit_rate_ = 0;
  bool prog_line_on_ = true;
  bool run_line_on_ = true;
  bool prog_reset_pulsed_ = false;
  int prog_answers_ = 0;
  int run_answers_ = 0;
  int ignored_crs_left_ = 0;
  /// Position in the HEX transfer: line number (1-based) and byte index within the line.
  int hex_line_ = 0;
  int hex_line_byte_ = 0;
  std::vector<ReceivedCommand> commands_;
};

}  // namespace korvane
