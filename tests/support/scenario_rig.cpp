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

void ScenarioRig::Start() {
  main.Form_Load();
  main.command_buttons().SetCaptureFolder(hex_folder.Path());
  dialogs.messages.clear();
  board.ClearReceivedCommands();
}

std::string ScenarioRig::MessagesFrom(std::size_t from) const {
  std::string joined;
  for (std::size_t i = from; i < messages_.size(); ++i) {
    joined += (i == from ? "" : " | ") + messages_[i];
  }
  return joined;
}

bool ScenarioRig::Showed(const std::string& text) const {
  return std::find(messages_.begin(), messages_.end(), text) != messages_.end();
}

std::string ScenarioRig::Commands(BoardMode mode, std::size_t from) const {
  std::string joined;
  const auto& all = board.ReceivedCommands();
  for (std::size_t i = from; i < all.size(); ++i) {
    if (all[i].mode != mode || (mode == BoardMode::kProgramming && all[i].text == "\r")) continue;
    joined += (joined.empty() ? "" : " ") + (all[i].text == "\r" ? "CR" : all[i].text);
  }
  return joined;
}

std::string ScenarioRig::Buttons() const {
  std::string states;
  for (const auto& button : form.cmdCntr) states += button.Enabled() ? '+' : '-';
  states += form.cmdReset.Enabled() ? '+' : '-';
  return states + " " + form.cmdCntr[0].Caption() + "|" + form.cmdCntr[2].Caption();
}

}  // namespace korvane::testing
