// The Korvane ADC demo program: the main window on a real serial port, or on the simulated
// evaluation board with --simulate.

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "app/main_form.h"
#include "app/view/data_menu_builder.h"
#include "app/view/main_window.h"
#include "app/view/port_menu_builder.h"
#include "board/simulated_board.h"
#include "board/simulated_serial_port.h"
#include "board/simulation_choices.h"
#include "form/form.h"
#include "platform/port_mapping.h"
#include "platform/qt/comm_spy_window.h"
#include "platform/qt/hardware_serial_port.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_process.h"
#include "platform/qt/qt_settings_store.h"
#include "platform/qt/qt_time_base.h"
#include "platform/qt/serial_device_identity.h"
#include "platform/qt/serial_log.h"
#include "platform/qt/termination_signals.h"

namespace {

constexpr const char* kUsage =
    "Usage: korvane-demo [S|s] [port] [clock-MHz] [--simulate] [--blank-board] [--help] "
    "[--version] [--show-noise] [--show-spectrum] [--open=FILE] [--port DEVICE]\n"
    "       [--sim-sine=INPUT,VOLTS,HZ[,PHASE][,hN:DBC...]] [--sim-mains=HZ,VOLTS[,hN:DBC...]]\n"
    "       [--sim-flicker-corner=HZ]\n"
    "  S or s        no beeps\n"
    "  port          serial port number 1..256 to try first (0: search all ports)\n"
    "  clock-MHz     the chip's clock; measured through the board when left out\n"
    "  --simulate    use the simulated evaluation board instead of the serial ports\n"
    "  --blank-board with --simulate: the simulated board's flash starts empty\n"
    "  --show-noise  open the Noise window beside the main window\n"
    "  --show-spectrum  open the Spectrum window beside the main window\n"
    "  --open=FILE   show a recording (CSV written by this program) at start\n"
    "  --port DEVICE map the serial device (path or /dev/serial/by-id name) to a port number\n"
    "                and make it the board's port\n"
    "  with --simulate, signals on the simulated board's inputs:\n"
    "  --sim-sine=INPUT,VOLTS,HZ[,PHASE][,hN:DBC...]\n"
    "                a sine on INPUT (AIN0..AIN7, AINCOM): amplitude, frequency, phase in\n"
    "                degrees, harmonics N (2..100) at DBC dB below it (h3:-60); repeatable\n"
    "  --sim-mains=HZ,VOLTS[,hN:DBC...]\n"
    "                mains hum (45..65 Hz) on AIN0..AIN7, against AINCOM\n"
    "  --sim-flicker-corner=HZ\n"
    "                1/f noise that meets the white noise at HZ\n";

struct ProgramOptions {
  korvane::SimulationChoices simulation;
  bool help = false;
  bool version = false;
  bool show_noise = false;
  bool show_spectrum = false;
  std::string open_path;
  std::string port_device;
  /// Why the command line cannot be used; empty when it can.
  std::string error;
};

/// The program's own options. Plain words are the user's (sound switch, port, clock) and are
/// read by the window's start-up; a word that looks like an option but is none of these is a
/// mistyped option, not a word for the window.
ProgramOptions ReadOptions(int argc, char** argv) {
  ProgramOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (korvane::ReadSimulationOption(argument, options.simulation, options.error)) continue;
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--show-noise") {
      options.show_noise = true;
    } else if (argument == "--show-spectrum") {
      options.show_spectrum = true;
    } else if (argument.starts_with("--open=")) {
      options.open_path = argument.substr(std::string_view("--open=").size());
    } else if (argument == "--port" || argument.starts_with("--port=")) {
      const bool inline_value = argument.starts_with("--port=");
      if (inline_value) options.port_device = argument.substr(std::string_view("--port=").size());
      if (!inline_value && i + 1 < argc) options.port_device = argv[++i];
      if (options.port_device.empty() && options.error.empty()) {
        options.error = "--port needs a device";
      }
    } else if (argument.starts_with("--") && options.error.empty()) {
      options.error = "unknown option " + std::string(argument);
    }
  }
  if (options.error.empty()) options.error = korvane::CheckSimulationChoices(options.simulation);
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace korvane;
  // Answered before the window system is touched, so that they work without a display.
  const auto options = ReadOptions(argc, argv);
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (options.version) {
    std::printf("korvane-demo %s\n", VersionText().c_str());
    return 0;
  }
  if (!options.error.empty()) {
    std::fprintf(stderr, "korvane-demo: %s\n%s", options.error.c_str(), kUsage);
    return 2;
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName("korvane-demo");
  QApplication::setApplicationVersion(QString::fromStdString(VersionText()));
  // Ties the window to the installed menu entry and its icon (the Wayland app id, and the icon
  // desktops show for the window); run from a build folder the theme has no such icon.
  QApplication::setDesktopFileName("korvane-demo");
  QApplication::setWindowIcon(QIcon::fromTheme("korvane-demo"));

  QtTimeBase time;
  QtSettingsStore settings;
  QtProcess process;
  PortMapping port_mapping(settings);
  // Before start-up reads the stored port, which the mapping makes this device's number.
  if (!options.port_device.empty()) port_mapping.Choose(MappingNameFor(options.port_device));
  Form form;
  MainWindow window(form);
  window.resize(1280, 800);
  QtDialogs dialogs(&window, form.frmKorvane_Demo.Caption());

  std::unique_ptr<SimulatedBoard> board;
  std::unique_ptr<SerialPort> port;
  if (options.simulation.simulate) {
    board = std::make_unique<SimulatedBoard>(time, DemoBoardOptions(options.simulation));
    port =
        std::make_unique<SimulatedSerialPort>(time, *board, SimulatedSerialPort::kFirstPortOpened);
  } else {
    port = std::make_unique<HardwareSerialPort>(settings);
  }

  CommSpyWindow comm_spy(&window);
  SerialLog serial_log;
  port->AddTrafficListener(&comm_spy);
  port->AddTrafficListener(&serial_log);
  QObject::connect(&comm_spy, &CommSpyWindow::ClosedByUser,
                   [&form] { form.chkTermWindow.SetValue(0); });

  MainForm main_form(form, PlatformServices{time, *port, window.AdcGraph(), window.Histo(),
                                            settings, dialogs, process});
  DataMenuBuilder data_menu(window, main_form.run_data());
  data_menu.Build(options.show_noise, options.show_spectrum);
  PortMenuBuilder port_menu(window, port_mapping,
                            [&main_form](int port_number) { main_form.UsePort(port_number); });
  port_menu.Build();
  window.SetOnClose([&main_form] { main_form.Form_Unload(); });
  TerminationSignals termination([&window] { window.close(); });

  // Start-up runs inside the event loop, so its waits can pump events like every later handler.
  QTimer::singleShot(0, &window, [&main_form, &data_menu, &options] {
    main_form.Form_Load();
    // After the board's reset, which clears the charts.
    if (!options.open_path.empty()) data_menu.Open(QString::fromStdString(options.open_path));
  });
  return QApplication::exec();
}
