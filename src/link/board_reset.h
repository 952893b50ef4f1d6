#pragma once

#include <functional>

#include "form/form.h"
#include "link/board_discovery.h"
#include "link/board_link.h"
#include "platform/chart.h"

namespace korvane {

/// Restarts the loaded board program at the negotiated link speed, sends it the clock registers
/// and clears the time graph and the sample buffer. A board whose program does not answer gets
/// its firmware loaded instead.
class BoardReset {
 public:
  BoardReset(Form& form, BoardLink& link, BoardDiscovery& discovery, Chart& adc_graph,
             Chart& histo);

  /// The program loader, run with `PrgmGo` set when no "]" comes after the reset.
  void SetLoadProgram(std::function<void()> load_program) {
    load_program_ = std::move(load_program);
  }

  void ResetBoard();
  /// "&RESET": the reset with the buttons that start exchanges disabled.
  void cmdReset_Click();

 private:
  void PulseRunReset();
  /// The clock registers and "H1"; false at the first command without "]".
  bool SendClockRegisters();
  void ClearTimeGraph();

  Form& form_;
  BoardLink& link_;
  BoardDiscovery& discovery_;
  Chart& adc_graph_;
  Chart& histo_;
  std::function<void()> load_program_;
};

}  // namespace korvane
