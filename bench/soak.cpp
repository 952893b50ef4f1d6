// The real window and the simulated board streaming at 57600 bit/s with the smallest decimation
// in "Continuous" mode (AverNumb 5000), in real time: readings received against readings stored
// and plotted, the program's CPU use and its peak memory. Run it under Xvfb or with
// QT_QPA_PLATFORM=offscreen. Arguments: seconds of streaming (default 60), then "spy" to keep the
// "CommSpy" traffic view open during the run, "spectrum" to keep the Spectrum window open (it
// analyses each block as it closes), "record" to record the run to a CSV file in the temporary
// folder (rows written must equal readings stored; the cost of the writer alone is measured
// first on a minute's worth of rows) and/or "rfc2217" to reach the board through
// korvane-board-server over loopback, as a board on a device server is reached.
// Goals: nothing lost, peak memory under 150 MB, and the program under 10 % of one core (measured
// with "rfc2217": in this process the simulated board's CPU counts too).

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>

#include "app/view/data_menu_builder.h"
#include "app/view/fourier_window.h"
#include "platform/port_mapping.h"
#include "platform/qt/comm_spy_window.h"
#include "platform/qt/hardware_serial_port.h"
#include "platform/qt/qt_time_base.h"
#include "platform/traffic_listener.h"
#include "process_usage.h"
#include "records/block_export.h"
#include "records/csv_reader.h"
#include "records/csv_recorder.h"
#include "support/window_on_board.h"

namespace {

/// Counts the readings the board sends (each ends with a CR) while counting is on.
class ReadingCounter final : public korvane::TrafficListener {
 public:
  void OnTraffic(korvane::TrafficDirection direction, std::string_view bytes) override {
    if (counting && direction == korvane::TrafficDirection::kFromBoard) {
      received += std::count(bytes.begin(), bytes.end(), '\r');
    }
  }
  bool counting = false;
  long long received = 0;
};

/// The real window on a remote port: korvane-board-server's simulated board over RFC 2217.
struct WindowOnRemotePort {
  explicit WindowOnRemotePort(const std::string& url) {
    korvane::PortMapping(settings).Choose(url);
    window.resize(1280, 800);
    window.show();
    QApplication::processEvents();
  }
  void OnMessage(std::string text, std::function<void()> action) {
    korvane::testing::OnPanelOneText(form, std::move(text), std::move(action));
  }
  korvane::QtTimeBase time;
  korvane::Form form;
  korvane::MainWindow window{form};
  korvane::testing::RecordingDialogs dialogs;
  korvane::testing::MemorySettings settings;
  korvane::testing::FakeProcess process;
  korvane::HardwareSerialPort port{settings};
  korvane::MainForm main{
      form, korvane::PlatformServices{time, port, window.AdcGraph(), window.Histo(), settings,
                                      dialogs, process}};
};

/// CPU seconds another process has used, from /proc (Linux).
double CpuSecondsOf(qint64 pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  double ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14 || i == 15) ticks += std::stod(field);  // utime, stime
  }
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

template <typename Rig>
int Soak(Rig& rig, int argc, char** argv, int seconds, const char* path) {
  using namespace korvane;
  auto& form = rig.form;
  ReadingCounter counter;
  rig.port.AddTrafficListener(&counter);
  CommSpyWindow comm_spy(&rig.window);
  rig.port.AddTrafficListener(&comm_spy);
  bool spy = false;
  bool record = false;
  bool spectrum = false;
  for (int i = 2; i < argc; ++i) {
    spy = spy || std::string_view(argv[i]) == "spy";
    record = record || std::string_view(argv[i]) == "record";
    spectrum = spectrum || std::string_view(argv[i]) == "spectrum";
  }
  // The Data menu as the program builds it; its Spectrum window follows each closed block.
  DataMenuBuilder data_menu(rig.window, rig.main.run_data());
  data_menu.Build(false, spectrum);
  const auto* spectrum_window = rig.window.template findChild<SpectrumWindow*>();
  const auto record_path = std::filesystem::temp_directory_path() / "korvane-soak-run.csv";
  if (record) {
    // The writer's own cost: one minute of rows at the link's 720 readings/s.
    CsvRecorder alone("bench");
    const double before = bench::CpuSeconds();
    alone.Start(record_path);
    BlockSettings settings;
    settings.volts_per_lsb = 5.0 / 16777215;
    settings.seconds_per_reading = 1.0 / 720;
    alone.RunStarted(settings);
    for (int i = 0; i < 720 * 60; ++i) alone.ReadingTaken((i * 7919) & 0xFFFFFF);
    alone.RunEnded();
    const double cost = bench::CpuSeconds() - before;
    std::printf(
        "recording alone: 43200 rows (a minute at 720 readings/s) in %.3f s of CPU, "
        "%.2f %% of one core (goal under 1 %%)\n",
        cost, 100 * cost / 60);
    std::filesystem::remove(record_path);

    // A 5000-reading block exported, and a million-row recording read back.
    std::vector<std::int32_t> codes(5000);
    for (std::size_t i = 0; i < codes.size(); ++i)
      codes[i] = static_cast<std::int32_t>(i % 97) - 48;
    LastBlock block;
    block.Show(codes, settings, "bench");
    const auto export_start = std::chrono::steady_clock::now();
    WriteBlockCsv(record_path, block, "bench");
    const std::chrono::duration<double> exported = std::chrono::steady_clock::now() - export_start;
    CsvRecorder million("bench");
    million.Start(record_path);
    million.RunStarted(settings);
    for (std::int32_t i = 0; i < 1000000; ++i) million.ReadingTaken((i * 79) & 0xFFFFFF);
    million.RunEnded();
    Recording read;
    const auto read_start = std::chrono::steady_clock::now();
    const std::string error = ReadRecording(record_path, read);
    const std::chrono::duration<double> opened = std::chrono::steady_clock::now() - read_start;
    std::printf("export of a 5000-reading block: %.1f ms (goal under 50 ms)\n",
                1000 * exported.count());
    std::printf("reading a %zu-row recording (%ju bytes): %.2f s (goal under 2 s)%s\n",
                read.codes.size(), static_cast<std::uintmax_t>(million.BytesWritten()),
                opened.count(), error.empty() ? "" : error.c_str());
    std::filesystem::remove(record_path);
  }

  QTimer::singleShot(0, [&] {
    rig.main.Form_Load();
    form.txtDecimation.SetText("1");
    form.txtAverNumb.SetText("5000");
    form.cboSampling.SetListIndex(2);
    if (spy) form.chkTermWindow.SetValue(1);
    double cpu_start = 0;
    double wall_start = 0;
    // The stop comes at a moment when the run has taken every reading that has arrived, so that
    // one between the port and the run is not counted as lost; one never taken still shows (the
    // stop then comes after a second). A reading still on the line is not waited for.
    QTimer stopper;
    stopper.setInterval(1);
    QElapsedTimer stopping;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
      if (!stopping.isValid()) stopping.start();
      if (rig.main.run().ReadingsTaken() < counter.received && stopping.elapsed() < 1000) return;
      stopper.stop();
      counter.counting = false;
      form.cmdCntr[2].Click();
    });
    rig.OnMessage("GETTING  ADC  CODE ", [&] {
      counter.counting = true;
      cpu_start = bench::CpuSeconds();
      wall_start = static_cast<double>(rig.time.Now().count()) / 1e6;
      QTimer::singleShot(seconds * 1000, [&] { stopper.start(); });
    });
    if (record) rig.main.run_data().recorder().Start(record_path);
    form.cmdCntr[2].Click();  // returns when the stop click has ended the run
    const double cpu = bench::CpuSeconds() - cpu_start;
    const double wall = static_cast<double>(rig.time.Now().count()) / 1e6 - wall_start;
    const auto& run = rig.main.run();
    std::printf("soak: %.1f s at 57600 bit/s%s, decimation 1, Continuous, AverNumb 5000%s%s%s\n",
                wall, path, spy ? ", CommSpy open" : "", record ? ", recording to CSV" : "",
                spectrum ? ", Spectrum window open" : "");
    std::printf(
        "readings received before the stop: %lld, taken: %lld, stored and plotted: %lld (the "
        "first 4 of a run are dropped)\n",
        counter.received, static_cast<long long>(run.ReadingsTaken()),
        static_cast<long long>(run.ReadingsUsed()));
    // In this process the simulated board's CPU counts too; behind the board server it does not.
    std::printf("CPU: %.2f s, %.1f %% of one core (%s)\n", cpu, 100 * cpu / wall,
                *path != '\0' ? "goal under 10 %" : "the program and the simulated board together");
    std::printf("peak resident memory: %ld MB (goal under 150 MB)\n",
                bench::PeakResidentMegabytes());
    std::printf("board errors shown: %zu\n", rig.dialogs.messages.size());
    if (spectrum) {
      std::printf("spectra drawn: %d, one per closed block (%lld blocks of 5000)\n",
                  spectrum_window->ResultsShown(),
                  static_cast<long long>(run.ReadingsUsed() / 5000));
    }
    if (record) {
      const auto& recorder = rig.main.run_data().recorder();
      std::printf("recorded: %lld rows written for %lld readings stored (%s), %llu bytes, %s\n",
                  static_cast<long long>(recorder.RowsWritten()),
                  static_cast<long long>(run.ReadingsUsed()),
                  recorder.RowsWritten() == run.ReadingsUsed() ? "equal" : "NOT EQUAL",
                  static_cast<unsigned long long>(recorder.BytesWritten()),
                  std::filesystem::exists(record_path) ? "file named" : "FILE NOT NAMED");
      std::filesystem::remove(record_path);
    }
    QApplication::quit();
  });
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace korvane;
  QApplication application(argc, argv);
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  bool remote = false;
  for (int i = 2; i < argc; ++i) remote = remote || std::string_view(argv[i]) == "rfc2217";
  if (!remote) {
    testing::WindowOnBoard<QtTimeBase> rig(BoardOptions{}, SimulatedSerialPort::kFirstPortOpened);
    return Soak(rig, argc, argv, seconds, "");
  }
  // The board in its own process behind loopback; its CPU is not the program's.
  QProcess server;
  server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  server.start(KORVANE_BOARD_SERVER_BINARY, {"--listen", "127.0.0.1:0"});
  if (!server.waitForReadyRead(5000)) {
    std::fprintf(stderr, "korvane-board-server did not start\n");
    return 1;
  }
  const QByteArray address = server.readLine().trimmed().split(' ').last();
  WindowOnRemotePort rig("rfc2217://" + address.toStdString());
  const int result = Soak(rig, argc, argv, seconds, " over RFC 2217 on loopback");
  std::printf("board server CPU: %.2f s (korvane-board-server, its own process)\n",
              CpuSecondsOf(server.processId()));
  server.kill();
  server.waitForFinished();
  return result;
}
