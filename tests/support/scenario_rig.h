#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "board/simulated_board.h"
#include "board/simulated_serial_port.h"
#include "form/form.h"
#include "platform/traffic_listener.h"
#include "platform/virtual_time.h"
#include "support/fakes.h"
#include "support/hex_folder.h"

namespace korvane::testing {

/// The real main window logic and subsystems against the simulated board, in virtual time.
/// Tests script the user by scheduling actions on `time`.
class ScenarioRig : private TrafficListener {
 public:
  explicit ScenarioRig(int board_port = 1, BoardOptions options = {});

  /// Every text panel 1 showed, in order.
  const std::vector<std::string>& Messages() const { return messages_; }
  bool Showed(const std::string& text) const;
  /// Everything the program transmitted, in order, while the traffic is kept.
  const std::string& Sent() const { return sent_; }
  /// Everything the board sent, in order, while the traffic is kept.
  const std::string& Received() const { return received_; }
  /// Whether Sent() and Received() grow with the traffic (the default). A long run turns this
  /// off so that the rig's memory stays flat.
  void KeepTraffic(bool keep) { keep_traffic_ = keep; }
  /// Commands the board took in programming mode, oldest first (lone CRs left out).
  std::vector<std::string> ProgrammingCommands() const;

  /// Runs after every change of the panel 1 text.
  std::function<void()> on_message;

  VirtualTime time;
  Form form;
  SimulatedBoard board;
  SimulatedSerialPort port;
  FakeChart adc_graph;
  FakeChart histo;
  MemorySettings settings;
  RecordingDialogs dialogs{&time};
  FakeProcess process;
  MainForm main;
  /// The loader's folder: empty until a test writes the HEX file into it.
  HexFolder hex_folder;

 private:
  void OnTraffic(TrafficDirection direction, std::string_view bytes) override {
    if (!keep_traffic_) return;
    (direction == TrafficDirection::kToBoard ? sent_ : received_).append(bytes);
  }

  std::vector<std::string> messages_;
  std::string sent_;
  std::string received_;
  bool keep_traffic_ = true;
};

}  // namespace korvane::testing
