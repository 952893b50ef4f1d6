#pragma once

#include <cstdint>
#include <functional>

#include "form/form.h"
#include "link/board_link.h"

namespace korvane {

/// Whether discovery negotiated a link speed: the bit rate and both reload bytes are known.
/// Without them a reset or a load would open the port at no rate and write an empty value into
/// the board's configuration memory.
bool LinkSpeedKnown(const Form& form);

/// Finds the board on a serial port, takes or measures its clock, chooses the fastest link
/// speed the clock can make within 2 %, programs that speed into the board's configuration
/// memory and hands over to the board reset. The whole conversation runs in the chip's
/// programming mode at 1200 bit/s.
class BoardDiscovery {
 public:
  BoardDiscovery(Form& form, BoardLink& link);

  /// Searches from `PortNumber` (0 = all ports 1..256); `Freq` <= 0 means measure the clock.
  /// Both are written back.
  void FindBoard(std::int16_t& PortNumber, double& Freq);
  /// Resets the board into programming mode; true when no ">" came after three attempts.
  bool ProgReset();
  /// Builds the five clock commands from `txtFreq`, clamping it to 1..24 MHz.
  void MakeClockCmds();

  /// The board reset that ends a successful discovery.
  void SetResetBoard(std::function<void()> reset_board) { reset_board_ = std::move(reset_board); }

  static constexpr int kLastPort = 256;

 private:
  /// Tries the ports; the port of the board, or 0 when none answered.
  int SearchPorts(std::int16_t& PortNumber);
  /// Reads CA and CB; false (after its message) when the board does not answer.
  bool MeasureClock(double& Freq);
  void ShowFrequency(double Freq);
  /// Writes the clock registers and the link speed into the board; false on the first failure.
  bool ProgramBoard();
  void FailProgramming();

  Form& form_;
  BoardLink& link_;
  std::function<void()> reset_board_;
};

}  // namespace korvane
