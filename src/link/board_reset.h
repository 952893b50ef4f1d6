#pragma once

#include <functional>
#include <string>

#include "form/form.h"
#include "link/board_discovery.h"
#include "link/board_link.h"
#include "platform/chart.h"

namespace korvane {

/// Restarts the loaded board program at the negotiated link speed, sends it the clock registers
/// and clears the time graph and the sample buffer. A board whose program does not answer gets
/// its firmware loaded, once: a board that stays silent after a load in this session is
/// reported, not erased and loaded again. Without a negotiated speed the board is not touched;
/// discovery runs again instead.
class BoardReset {
 public:
  BoardReset(Form& form, BoardLink& link, BoardDiscovery& discovery, Chart& adc_graph,
             Chart& histo);

  /// The program loader, run with `PrgmGo` set when no "]" comes after the reset; it returns
  /// whether the new program was loaded.
  void SetLoadProgram(std::function<bool()> load_program) {
    load_program_ = std::move(load_program);
  }

  void ResetBoard();
  /// "&RESET": the reset with the buttons that start exchanges disabled.
  void cmdReset_Click();

  /// Panel 1 after a reset that brought the board's program back.
  static std::string ResetDoneText(int port_number, const std::string& baud_rate);

  static constexpr const char* kNoLinkSpeed =
      "NO  LINK  SPEED  IS  KNOWN,  Korvane  IS  NOT  RESET";

 private:
  /// Discovery again, measuring the clock; it ends in a reset of its own when it succeeds.
  void FindLinkSpeedAgain();
  /// Reopens the port at the negotiated speed and restarts the board program; true when "]"
  /// came.
  bool RestartProgram();
  /// Runs the loader; false after a failed or stopped load, whose own texts stay in panel 1.
  bool LoadProgram();
  /// The program was loaded but does not answer at the negotiated speed.
  void ReportSilentProgram();
  void PulseRunReset();
  /// The clock registers and "H1"; false at the first command without "]".
  bool SendClockRegisters();
  void ClearTimeGraph();

  Form& form_;
  BoardLink& link_;
  BoardDiscovery& discovery_;
  Chart& adc_graph_;
  Chart& histo_;
  std::function<bool()> load_program_;
  /// The last load succeeded and its program has not answered since: the board holds it, so
  /// silence after a reset is a matter of speed, not of a missing program.
  bool program_loaded_ = false;
};

}  // namespace korvane
