#pragma once

#include <string>
#include <string_view>

#include "board/board_options.h"
#include "board/simulated_signals.h"

namespace korvane {

/// What the command line asks of the simulated board: --simulate, --blank-board and the --sim-*
/// signal options. The window and korvane-cli read them alike.
struct SimulationChoices {
  bool simulate = false;
  bool blank_board = false;
  SimulatedSignals input_signals;
  /// The first signal option, for the message when --simulate is missing.
  std::string first_signal_option;
};

/// Applies `argument` when it is one of the simulated board's options and returns true; a value
/// that cannot be used sets `error` (when `error` is still empty).
bool ReadSimulationOption(std::string_view argument, SimulationChoices& choices,
                          std::string& error);

/// Why the choices cannot be used together ("--blank-board needs --simulate"), or "".
std::string CheckSimulationChoices(const SimulationChoices& choices);

/// The demonstration board: something to measure on every input (AIN0 = 1.2345678 V ... and the
/// chip at 27.3 degrees C), its flash and signals as chosen.
BoardOptions DemoBoardOptions(const SimulationChoices& choices);

}  // namespace korvane
