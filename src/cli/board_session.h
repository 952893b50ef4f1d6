#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_form.h"
#include "board/simulated_board.h"
#include "cli/cli_request.h"
#include "cli/console_dialogs.h"
#include "cli/console_process.h"
#include "cli/console_progress.h"
#include "cli/exit_codes.h"
#include "cli/null_chart.h"
#include "form/form.h"
#include "platform/port_mapping.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/qt_time_base.h"
#include "platform/qt/serial_log.h"
#include "platform/qt/termination_signals.h"
#include "platform/serial_port.h"

namespace korvane {

/// The window's logic without the window: the same `MainForm` with its subsystems, on a real
/// serial port or the simulated board, its message boxes on stderr and charts that draw nothing.
/// Subcommands click its controls as a user clicks the window's. Ctrl+C or SIGTERM stops a run
/// or a load as its stop button does; during the board search (or at a second Ctrl+C) the
/// program ends at once.
class BoardSession {
 public:
  explicit BoardSession(const SharedChoices& shared);
  ~BoardSession();
  BoardSession(const BoardSession&) = delete;
  BoardSession& operator=(const BoardSession&) = delete;

  /// The window's start-up: stored port, search, clock, link speed and board reset. kOk when the
  /// board's program answers; with `program_needed` false (a firmware load) once the link speed
  /// is known. Otherwise prints the cause and returns kNoBoard or kBoardError.
  ExitCode Connect(bool program_needed = true);
  /// Saves the port and closes it and every file, as the window's close does; returns `code`,
  /// or kInterrupted after Ctrl+C.
  ExitCode Finish(ExitCode code);

  Form& form() { return form_; }
  MainForm& main_form() { return main_form_; }
  ConsoleDialogs& dialogs() { return dialogs_; }
  TimeBase& time() { return time_; }
  const SharedChoices& shared() const { return shared_; }
  bool Interrupted() const { return interrupted_; }

  /// Whether status panel 1 showed a text containing `text` since the last `ForgetStatus`.
  bool StatusShowed(std::string_view text) const;
  void ForgetStatus() { status_history_.clear(); }

  /// The device behind the board's port: its mapping, "simulated board", or "COMn".
  std::string DeviceName() const;

  /// Prints "korvane-cli: `cause`" on stderr, unless a message box has already said why.
  void ReportFailure(const std::string& cause, int messages_before) const;

 private:
  /// The window's three command-line words from the shared options: no beeps, port, clock.
  std::string StartupWords();
  void OnTerminationSignal();
  void OnStatus();

  SharedChoices shared_;
  QtTimeBase time_;
  QtSettingsStore settings_;
  PortMapping port_mapping_;
  SerialLog serial_log_;
  std::unique_ptr<SimulatedBoard> board_;
  std::unique_ptr<SerialPort> port_;
  NullChart adc_graph_;
  NullChart histo_;
  ConsoleDialogs dialogs_;
  ConsoleProcess process_;
  Form form_;
  MainForm main_form_;
  TerminationSignals termination_;
  std::vector<std::string> status_history_;
  /// The search through all ports, drawn as a bar of the ports tried.
  std::unique_ptr<ConsoleProgress> search_progress_;
  bool connecting_ = false;
  bool interrupted_ = false;
};

}  // namespace korvane
