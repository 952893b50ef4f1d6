// CPU time of the whole program while it waits for readings that never come: the real window
// and the simulated board, a "Continuous" run started, then the serial adapter pulled out, so
// the run waits on the event loop until it is stopped. Run it under Xvfb or with
// QT_QPA_PLATFORM=offscreen. Argument: milliseconds of waiting (default 10000).
// Goal: under 1 % of one core.

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/qt_time_base.h"
#include "process_usage.h"
#include "support/window_on_board.h"

int main(int argc, char** argv) {
  using namespace korvane;
  QApplication application(argc, argv);
  const int wait_ms = argc > 1 ? std::atoi(argv[1]) : 10000;

  testing::WindowOnBoard<QtTimeBase> rig(BoardOptions{}, SimulatedSerialPort::kFirstPortOpened);
  auto& form = rig.form;
  QTimer::singleShot(0, [&] {
    rig.main.Form_Load();
    form.cboSampling.SetListIndex(2);
    double cpu = 0;
    double wall = 0;
    rig.OnMessage("GETTING  ADC  CODE ", [&] {
      // Let the first readings arrive and be drawn, then pull the adapter out.
      QTimer::singleShot(1000, [&] {
        rig.port.Unplug(rig.port.BoardPort());
        QTimer::singleShot(500, [&] {
          const double cpu_start = bench::CpuSeconds();
          const auto wall_start = rig.time.Now();
          QTimer::singleShot(wait_ms, [&, cpu_start, wall_start] {
            cpu = bench::CpuSeconds() - cpu_start;
            wall = static_cast<double>((rig.time.Now() - wall_start).count()) / 1e6;
            form.cmdCntr[2].Click();
          });
        });
      });
    });
    form.cmdCntr[2].Click();  // returns when the stop click has ended the run
    std::printf(
        "idle: a run waiting %.1f s for readings that never come: CPU %.4f s, %.3f %% of one "
        "core (goal under 1 %%), %lld readings before the adapter was pulled\n",
        wall, cpu, 100.0 * cpu / wall, static_cast<long long>(rig.main.run().ReadingsTaken()));
    QApplication::quit();
  });
  return QApplication::exec();
}
