// Start-up of the real program with the simulated board: from process start to the window shown
// with the board found (the "FOUND" message in panel 1), and on to the board reset and ready.
// Starts korvane-demo --simulate several times, reads its status log, ends it, and prints the
// median. Run it under Xvfb or with QT_QPA_PLATFORM=offscreen.
// Arguments: the program (default: korvane-demo next to this benchmark's folder), runs (5).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct StartUp {
  double window_ms = -1;  ///< the welcome text in panel 1: the window is built (shown 200 ms on)
  double found_ms = -1;   ///< "Korvane  DEMO  BOARD  IS  FOUND ..."
  double ready_ms = -1;   ///< "... Korvane  IS  RESET": the board answers at the negotiated speed
};

StartUp MeasureOnce(const QString& program, const QString& config_home) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_LOGGING_RULES", "korvane.status=true");
  environment.insert("XDG_CONFIG_HOME", config_home);  // the stored port stays out of the user's
  process.setProcessEnvironment(environment);
  StartUp result;
  QByteArray log;
  QElapsedTimer clock;
  QObject::connect(&process, &QProcess::readyReadStandardError, [&] {
    log += process.readAllStandardError();
    const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (result.window_ms < 0 && log.contains("WELCOME")) result.window_ms = now;
    if (result.found_ms < 0 && log.contains("IS  FOUND  AT  PORT")) result.found_ms = now;
    if (result.ready_ms < 0 && log.contains("Korvane  IS  RESET")) {
      result.ready_ms = now;
      process.terminate();
    }
  });
  clock.start();
  process.start(program, {"--simulate"});
  if (!process.waitForStarted(10000)) return result;
  while (process.state() != QProcess::NotRunning && clock.elapsed() < 60000) {
    process.waitForReadyRead(100);
  }
  if (process.state() != QProcess::NotRunning) process.kill();
  process.waitForFinished(5000);
  return result;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? -1 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const QString program = argc > 1 && argv[1][0] != '\0'
                              ? QString::fromLocal8Bit(argv[1])
                              : QCoreApplication::applicationDirPath() + "/../korvane-demo";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  QTemporaryDir config_home;

  std::vector<double> window;
  std::vector<double> found;
  std::vector<double> ready;
  for (int i = 0; i < runs; ++i) {
    const StartUp once = MeasureOnce(program, config_home.path());
    if (once.ready_ms < 0) {
      std::printf("start-up: %s did not find and reset the simulated board within 60 s\n",
                  qPrintable(program));
      return 1;
    }
    window.push_back(once.window_ms);
    found.push_back(once.found_ms);
    ready.push_back(once.ready_ms);
  }
  std::printf(
      "start-up (median of %d): window built %.0f ms, board found %.0f ms, board reset and "
      "ready %.0f ms after process start\n",
      runs, Median(window), Median(found), Median(ready));
  return 0;
}
