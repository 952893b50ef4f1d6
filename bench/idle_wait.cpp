// CPU time the program spends in a long wait on the real event loop (goal: under 1 % of a core).
// Prints one line: wall seconds, CPU seconds, and the share of one core.

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

#include "form/form.h"
#include "link/board_link.h"
#include "platform/qt/qt_time_base.h"
#include "process_usage.h"
#include "support/fakes.h"
#include "support/scripted_port.h"

int main(int argc, char** argv) {
  using namespace korvane;
  QCoreApplication application(argc, argv);
  const int wait_ms = argc > 1 ? std::atoi(argv[1]) : 10000;

  QtTimeBase time;
  Form form;
  testing::ScriptedPort port(time);
  testing::RecordingDialogs dialogs;
  BoardLink link(form, time, port, dialogs);

  const auto wall_start = time.Now();
  const double cpu_start = bench::CpuSeconds();
  link.Wait(wait_ms);
  const double cpu = bench::CpuSeconds() - cpu_start;
  const double wall = static_cast<double>((time.Now() - wall_start).count()) / 1e6;
  std::printf("idle Wait(%d): wall %.3f s, cpu %.4f s, %.3f %% of one core\n", wait_ms, wall, cpu,
              100.0 * cpu / wall);
  return 0;
}
