#include "board/simulated_serial_port.h"

namespace korvane {

SimulatedSerialPort::SimulatedSerialPort(TimeBase& time, SimulatedBoard& board, int board_port)
    : board_(board),
      board_port_(board_port),
      to_board_(
          time, [this](std::string_view bytes, int rate) { board_.ReceiveSerial(bytes, rate); },
          [this] { return board_.UartBitRate(); }),
      to_host_(
          time, [this](std::string_view bytes, int) { DeliverReceived(bytes); },
          [this] { return open_bit_rate_; }) {
  board_.SetTransmitter(
      [this](std::string_view bytes, int bit_rate) { ReceiveFromBoard(bytes, bit_rate); });
  if (board_port_ == kNoBoard) return;
  board_.SetProgResetInput(false);  // the lines of a port never opened are off
  board_.SetRunResetInput(false);
}

SimulatedSerialPort::~SimulatedSerialPort() {
  board_.SetTransmitter(nullptr);
}

void SimulatedSerialPort::OpenDevice() {
  // As with a real port: no bit rate in the settings, no open port at some default speed.
  if (open_ || port_number_ == unplugged_port_ || BitRate() <= 0) return;
  if (board_port_ == kFirstPortOpened) board_port_ = port_number_;
  open_ = true;
  open_port_number_ = port_number_;
  open_bit_rate_ = BitRate();
  if (!ReachesBoard()) return;
  board_.SetProgResetInput(prog_reset_line_on_);
  board_.SetRunResetInput(run_reset_line_on_);
}

void SimulatedSerialPort::CloseDevice() {
  if (!open_) return;
  const bool reached_board = ReachesBoard();
  open_ = false;
  to_board_.Clear();
  to_host_.Clear();
  if (!reached_board) return;
  board_.SetProgResetInput(false);
  board_.SetRunResetInput(false);
}

void SimulatedSerialPort::Unplug(int port_number) {
  unplugged_port_ = port_number;
  if (!open_ || open_port_number_ != port_number) return;
  ClosePort();
  ReportPortLost();
}

void SimulatedSerialPort::SetProgResetLine(bool on) {
  prog_reset_line_on_ = on;
  if (ReachesBoard()) board_.SetProgResetInput(on);
}

void SimulatedSerialPort::SetRunResetLine(bool on) {
  run_reset_line_on_ = on;
  if (ReachesBoard()) board_.SetRunResetInput(on);
}

void SimulatedSerialPort::WriteBytes(std::string_view bytes) {
  if (ReachesBoard()) to_board_.Send(bytes, open_bit_rate_);
}

void SimulatedSerialPort::ReceiveFromBoard(std::string_view bytes, int board_bit_rate) {
  if (ReachesBoard()) to_host_.Send(bytes, board_bit_rate);
}

}  // namespace korvane
