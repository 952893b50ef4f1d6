#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "board/simulation_choices.h"
#include "cli/adc_choices.h"

namespace korvane {

/// The options every subcommand takes: where the board is and how to print.
struct SharedChoices {
  SimulationChoices simulation;
  /// Serial port number 1..256 to try first; 0 starts from the stored port, as the window does.
  int port_number = 0;
  /// A serial device mapped to a port number, as the window's --port does.
  std::string port_device;
  /// The chip's clock in MHz, taken instead of measured (the window's third word).
  std::optional<double> clock_mhz;
  bool json = false;
  /// Every status message on stderr.
  bool verbose = false;
};

/// What the command line asks for. A subcommand reads the parts it uses.
struct CliRequest {
  std::string command;
  SharedChoices shared;
  AdcChoices adc;
  /// capture: how many readings, and the file they go to ("" is stdout).
  std::int64_t readings = 0;
  std::string output_path;
  /// load: the Intel HEX file.
  std::string hex_path;
  /// sweep: the gains, and the decimations or the data rates (turned into decimations once the
  /// clock is known), each cell taking `readings`; the table as CSV in `output_path` (or on
  /// stdout), as Markdown and as a PNG plot ("" for none).
  std::vector<int> sweep_gains;
  std::vector<int> sweep_decimations;
  std::vector<double> sweep_rates;
  std::string markdown_path;
  std::string plot_path;
};

}  // namespace korvane
