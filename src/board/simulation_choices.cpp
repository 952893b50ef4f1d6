#include "board/simulation_choices.h"

#include <utility>

#include "board/signal_options.h"

namespace korvane {

bool ReadSimulationOption(std::string_view argument, SimulationChoices& choices,
                          std::string& error) {
  if (argument == "--simulate") {
    choices.simulate = true;
  } else if (argument == "--blank-board") {
    choices.blank_board = true;
  } else if (IsSignalOption(argument)) {
    if (choices.first_signal_option.empty()) {
      choices.first_signal_option = argument.substr(0, argument.find('='));
    }
    std::string why = ApplySignalOption(argument, choices.input_signals);
    if (error.empty()) error = std::move(why);
  } else {
    return false;
  }
  return true;
}

std::string CheckSimulationChoices(const SimulationChoices& choices) {
  if (choices.blank_board && !choices.simulate) return "--blank-board needs --simulate";
  if (!choices.first_signal_option.empty() && !choices.simulate) {
    return choices.first_signal_option + " needs --simulate";
  }
  return "";
}

BoardOptions DemoBoardOptions(const SimulationChoices& choices) {
  BoardOptions options;
  options.program_loaded = !choices.blank_board;
  // AIN0..AIN7, then AINCOM at ground.
  options.adc_inputs.volts = {1.2345678, -0.75, 0.5, 2.0, 0.1, 0.0, 0.0, 0.010, 0.0};
  options.adc_inputs.temperature_celsius = 27.3;
  options.input_signals = choices.input_signals;
  return options;
}

}  // namespace korvane
