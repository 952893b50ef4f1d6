#pragma once

#include <functional>
#include <string>

#include "acquisition/acquisition_run.h"
#include "acquisition/histogram.h"
#include "acquisition/noise_statistics.h"
#include "acquisition/reading_presenter.h"
#include "adcconfig/adc_setup.h"
#include "adcconfig/offset_dac.h"
#include "adcconfig/sampling_selectors.h"
#include "adcconfig/settings_panel.h"
#include "app/command_buttons.h"
#include "app/platform_services.h"
#include "app/port_loss_notice.h"
#include "app/port_reconnect.h"
#include "app/run_data.h"
#include "form/form.h"
#include "link/board_discovery.h"
#include "link/board_link.h"
#include "link/board_reset.h"
#include "loader/program_loader.h"

namespace korvane {

/// The main window's logic, `frmKorvane_Demo`: owns the subsystems, wires the controls to their
/// handlers, and runs start-up and shutdown. Toolkit-neutral; the Qt view binds to its `Form`.
class MainForm {
 public:
  MainForm(Form& form, const PlatformServices& platform);

  /// Start-up: initial states, stored port, command line, welcome, then the board search with
  /// the window disabled.
  void Form_Load();
  /// Shutdown: saves the port, closes the port and files, ends the program at once.
  void Form_Unload();
  /// Shutdown without the end: saves the port, closes the port and files (korvane-cli ends with
  /// its own exit code).
  void SaveAndClose();

  /// Port `port_number` (just mapped by the user) becomes the board's port and the board is reset
  /// as by RESET.
  void UsePort(int port_number);

  BoardLink& link() { return link_; }
  BoardDiscovery& discovery() { return discovery_; }
  BoardReset& reset() { return reset_; }
  ProgramLoader& loader() { return loader_; }
  CommandButtons& command_buttons() { return command_buttons_; }
  ReadingPresenter& presenter() { return presenter_; }
  AcquisitionRun& run() { return run_; }
  AdcSetup& adc_setup() { return adc_setup_; }
  SettingsPanel& settings_panel() { return settings_panel_; }
  RunData& run_data() { return run_data_; }

  static constexpr const char* kSettingsApplication = "Korvane-DAQ-EVM";
  static constexpr const char* kSettingsSection = "Settings";
  static constexpr const char* kPortKey = "ComPort";
  static constexpr const char* kWelcome = " WELCOME  TO  HALVERN  Korvane DVM  DEMO  PROGRAM ";

 private:
  void WireHandlers();
  /// "&RESET", refused while another exchange is under way (or queued behind a stopping run).
  void cmdReset_Click();
  /// The lost adapter is back: a run or load still waiting on it is stopped (the user starts it
  /// again), then the board is reset as by RESET, once no exchange is under way.
  void ResetAfterReconnect();
  /// `action` as a user action, after which a lost port is named again.
  std::function<void()> UserAction(std::function<void()> action);
  void DockProgressBar();

  Form& form_;
  PlatformServices platform_;
  BoardLink link_;
  BoardDiscovery discovery_;
  AdcSetup adc_setup_;
  SettingsPanel settings_panel_;
  SamplingSelectors sampling_selectors_;
  OffsetDac offset_dac_;
  ProgramLoader loader_;
  BoardReset reset_;
  ReadingPresenter presenter_;
  NoiseStatistics noise_;
  Histogram histogram_;
  AcquisitionRun run_;
  CommandButtons command_buttons_;
  PortLossNotice port_loss_notice_;
  PortReconnect port_reconnect_;
  RunData run_data_;
  bool reset_queued_ = false;
};

/// "major.minor.revision" of the program's version.
std::string VersionText();

}  // namespace korvane
