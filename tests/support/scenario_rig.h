#pragma once

#include <cstddef>
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

// Scenarios name only the board options and faults they change ({.program_loaded = false}).
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace korvane::testing {

/// The real main window logic and subsystems against the simulated board, in virtual time.
/// Tests script the user by scheduling actions on `time`.
class ScenarioRig : private TrafficListener {
 public:
  explicit ScenarioRig(int board_port = 1, BoardOptions options = {});

  /// Buttons() when every command button waits for a click.
  static constexpr const char* kIdle = "++++ &Load Korvane|Run &ADC";

  /// Starts the program, then forgets the message boxes and board commands of the start; the
  /// traffic capture goes to the HEX folder.
  void Start();
  /// Every text panel 1 showed, in order.
  const std::vector<std::string>& Messages() const { return messages_; }
  /// The texts panel 1 showed from the `from`-th on, joined by " | ".
  std::string MessagesFrom(std::size_t from) const;
  bool Showed(const std::string& text) const;
  /// Everything the program transmitted, in order, while the traffic is kept.
  const std::string& Sent() const { return sent_; }
  /// Whether Sent() grows with the traffic (the default). A long run turns this off so that the
  /// rig's memory stays flat.
  void KeepTraffic(bool keep) { keep_traffic_ = keep; }
  /// Commands the board took in `mode` from its `from`-th on, joined by blanks; a lone CR is
  /// "CR", left out in programming mode.
  std::string Commands(BoardMode mode, std::size_t from = 0) const;
  /// Load, Set, Run and RESET as "+" (enabled) or "-", then the Load and Run captions.
  std::string Buttons() const;

  /// Runs after every change of the panel 1 text.
  std::function<void()> on_message;

  VirtualTime time;
  Form form;
  SimulatedBoard board;
  SimulatedSerialPort port;
  FakeChart adc_graph;
  FakeChart histo;
  MemorySettings settings;
  RecordingDialogs dialogs;
  FakeProcess process;
  MainForm main;
  /// The loader's folder: empty until a test writes the HEX file into it.
  HexFolder hex_folder;

 private:
  void OnTraffic(TrafficDirection direction, std::string_view bytes) override {
    if (keep_traffic_ && direction == TrafficDirection::kToBoard) sent_.append(bytes);
  }

  std::vector<std::string> messages_;
  std::string sent_;
  bool keep_traffic_ = true;
};

}  // namespace korvane::testing
