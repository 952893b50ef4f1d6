#include "support/scenario_rig.h"

#include <algorithm>

namespace korvane::testing {

ScenarioRig::ScenarioRig(int board_port, BoardOptions options)
    : board(time, options),
      port(time, board, board_port),
      main(form, PlatformServices{time, port, adc_graph, histo, settings, dialogs, process}) {
  port.AddTrafficListener(this);
  main.loader().SetHexFolder(hex_folder.Path());
  form.Panel(1).SetObserver([this] {
    if (messages_.empty() || messages_.back() != form.Panel(1).Text()) {
      messages_.push_back(form.Panel(1).Text());
    }
    if (on_message) on_message();
  });
}

bool ScenarioRig::Showed(const std::string& text) const {
  return std::find(messages_.begin(), messages_.end(), text) != messages_.end();
}

std::vector<std::string> ScenarioRig::ProgrammingCommands() const {
  std::vector<std::string> commands;
  for (const auto& command : board.ReceivedCommands()) {
    if (command.mode == BoardMode::kProgramming && command.text != "\r") {
      commands.push_back(command.text);
    }
  }
  return commands;
}

}  // namespace korvane::testing
