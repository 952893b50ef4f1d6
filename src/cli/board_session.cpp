#include "cli/board_session.h"

#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "board/simulated_serial_port.h"
#include "common/number_text.h"
#include "link/board_discovery.h"
#include "link/board_reset.h"
#include "platform/qt/hardware_serial_port.h"
#include "platform/qt/serial_device_identity.h"

namespace korvane {

namespace {
/// Status texts kept for telling outcomes apart; a long search shows one per port.
constexpr std::size_t kStatusHistory = 1024;
}  // namespace

BoardSession::BoardSession(const SharedChoices& shared)
    : shared_(shared),
      port_mapping_(settings_),
      board_(shared.simulation.simulate
                 ? std::make_unique<SimulatedBoard>(time_, DemoBoardOptions(shared.simulation))
                 : nullptr),
      port_(board_ ? std::unique_ptr<SerialPort>(std::make_unique<SimulatedSerialPort>(
                         time_, *board_, SimulatedSerialPort::kFirstPortOpened))
                   : std::make_unique<HardwareSerialPort>(settings_)),
      process_(StartupWords()),
      main_form_(form_, PlatformServices{time_, *port_, adc_graph_, histo_, settings_, dialogs_,
                                         process_}),
      termination_([this] { OnTerminationSignal(); }) {
  form_.Panel(1).SetObserver([this] { OnStatus(); });
  // QT_LOGGING_RULES="korvane.serial=true" shows the traffic, as for the window.
  port_->AddTrafficListener(&serial_log_);
}

BoardSession::~BoardSession() = default;

std::string BoardSession::StartupWords() {
  int port = shared_.port_number;
  // As the window's --port: the device becomes the stored port, where the search begins.
  if (port == 0 && !shared_.port_device.empty()) {
    port = port_mapping_.Choose(MappingNameFor(shared_.port_device));
  }
  if (port == 0 && !shared_.clock_mhz) return "s";
  if (port == 0) {
    port = PortFromStoredValue(settings_.Read(MainForm::kSettingsApplication,
                                              MainForm::kSettingsSection, MainForm::kPortKey, "0"));
  }
  std::string words = "s " + std::to_string(port);
  if (shared_.clock_mhz) words += " " + GeneralText(*shared_.clock_mhz);
  return words;
}

ExitCode BoardSession::Connect(bool program_needed) {
  const int messages_before = dialogs_.Count();
  connecting_ = true;
  search_progress_ =
      std::make_unique<ConsoleProgress>("search", ConsoleProgress::StderrIsTerminal());
  main_form_.Form_Load();
  search_progress_.reset();
  connecting_ = false;
  if (form_.Panel(1).Text() == BoardReset::ResetDoneText(form_.PortNumber, form_.BaudRate)) {
    return ExitCode::kOk;
  }
  if (!program_needed && LinkSpeedKnown(form_)) return ExitCode::kOk;
  if (!StatusShowed("IS  FOUND")) {
    ReportFailure(shared_.simulation.simulate
                      ? "the simulated board did not answer"
                      : "no board found: no answer on any serial port (1..256)",
                  messages_before);
    return ExitCode::kNoBoard;
  }
  ReportFailure(ConsoleDialogs::OneLine(form_.Panel(1).Text()), messages_before);
  return ExitCode::kBoardError;
}

ExitCode BoardSession::Finish(ExitCode code) {
  main_form_.SaveAndClose();
  if (interrupted_) {
    std::fputs("korvane-cli: interrupted\n", stderr);
    return ExitCode::kInterrupted;
  }
  return code;
}

bool BoardSession::StatusShowed(std::string_view text) const {
  for (const auto& shown : status_history_) {
    if (shown.find(text) != std::string::npos) return true;
  }
  return false;
}

std::string BoardSession::DeviceName() const {
  if (board_) return "simulated board";
  const auto mapped = port_mapping_.Mapped().find(form_.PortNumber);
  if (mapped != port_mapping_.Mapped().end()) return mapped->second;
  return "COM" + std::to_string(form_.PortNumber);
}

void BoardSession::ReportFailure(const std::string& cause, int messages_before) const {
  if (dialogs_.Count() == messages_before) std::fprintf(stderr, "korvane-cli: %s\n", cause.c_str());
}

void BoardSession::OnStatus() {
  const std::string& text = form_.Panel(1).Text();
  if (status_history_.size() == kStatusHistory) status_history_.erase(status_history_.begin());
  status_history_.push_back(text);
  // A port tried: once the first port has not answered, the search may go through all 256.
  constexpr std::string_view kTrying = "TRYING  SERIAL  PORT  ";
  const int port = text.starts_with(kTrying) ? std::atoi(text.c_str() + kTrying.size()) : 0;
  if (search_progress_ && port > 1) search_progress_->Update(port, BoardDiscovery::kLastPort, -1);
  if (shared_.verbose) {
    std::fprintf(stderr, "korvane-cli: %s\n", ConsoleDialogs::OneLine(text).c_str());
  }
}

void BoardSession::OnTerminationSignal() {
  // The search is only questions to the ports; a second signal means the user will not wait.
  if (connecting_ || interrupted_) {
    std::fputs("korvane-cli: interrupted\n", stderr);
    std::fflush(nullptr);
    std::_Exit(static_cast<int>(ExitCode::kInterrupted));
  }
  interrupted_ = true;
  auto& buttons = main_form_.command_buttons();
  auto& record = main_form_.run_data().long_record();
  auto& sweep = main_form_.run_data().noise_sweep();
  if (sweep.Going()) {
    sweep.Cancel();  // the cells measured are kept
  } else if (record.Going()) {
    record.Cancel();
  } else if (form_.TestGo && buttons.IsStopClick(2)) {
    form_.cmdCntr[2].Click();
  } else if (form_.PrgmGo && buttons.IsStopClick(0)) {
    form_.cmdCntr[0].Click();
  }
}

}  // namespace korvane
