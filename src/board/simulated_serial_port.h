#pragma once

#include <string_view>

#include "board/simulated_board.h"
#include "board/timed_byte_queue.h"
#include "platform/serial_port.h"
#include "platform/time_base.h"

namespace korvane {

/// A serial port whose line leads to the simulated board. One port number carries the board;
/// every other port opens fine but stays silent (what is sent goes nowhere, nothing arrives).
/// Bytes take their real time on the line: 10 bits each at the port's bit rate towards the board
/// and at the board's rate back. A receiver at another rate reads them as its UART would
/// (ReadAtRate). The modem lines (DTR, RTS) drive the board's reset inputs: they are on only
/// while the port is open and set on; a port never opened, or closed, has both off, which holds
/// the board in reset. Opening it with both set on releases the board, which then starts in
/// programming mode, since its programming-reset input went off (SimulatedBoard); a run-reset
/// pulse after the open starts the loaded program.
class SimulatedSerialPort final : public SerialPort {
 public:
  /// No port carries the board.
  static constexpr int kNoBoard = 0;
  /// The board sits on the first port number ever opened (so a port search finds it at once).
  static constexpr int kFirstPortOpened = -1;

  /// `board_port`: 1..256, kFirstPortOpened or kNoBoard. `time` and `board` must outlive the port;
  /// the port installs itself as the board's transmitter.
  SimulatedSerialPort(TimeBase& time, SimulatedBoard& board, int board_port);
  ~SimulatedSerialPort() override;

  bool IsPortOpen() const override { return open_; }
  void SetProgResetLine(bool on) override;
  void SetRunResetLine(bool on) override;

  /// The port number the board sits on; kNoBoard while none (or not yet decided).
  int BoardPort() const { return board_port_ > 0 ? board_port_ : kNoBoard; }

  /// Pulls out the adapter of port `port_number`, as HardwareSerialPort sees a removed device:
  /// if it is open it closes and reports itself lost; until PlugIn it cannot be opened.
  void Unplug(int port_number);
  void PlugIn() { unplugged_port_ = 0; }
  bool LostDeviceIsBack() const override { return unplugged_port_ == 0; }

 protected:
  void WriteBytes(std::string_view bytes) override;
  /// Opening an open port changes nothing.
  void OpenDevice() override;
  /// Drops whatever is still on the line in both directions.
  void CloseDevice() override;

 private:
  bool ReachesBoard() const { return open_ && open_port_number_ == board_port_; }
  void ReceiveFromBoard(std::string_view bytes, int board_bit_rate);

  SimulatedBoard& board_;
  int board_port_;
  bool open_ = false;
  int open_port_number_ = 0;
  int open_bit_rate_ = 0;
  int unplugged_port_ = 0;
  bool prog_reset_line_on_ = true;
  bool run_reset_line_on_ = true;
  TimedByteQueue to_board_;
  TimedByteQueue to_host_;
};

}  // namespace korvane
