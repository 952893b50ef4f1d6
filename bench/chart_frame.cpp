// CPU cost of one frame of the main window while a run streams: the time graph full with a
// 5000-reading block gets 24 new readings (a 30th of a second at the link's 720 readings/s), the
// reading display changes, and the window repaints and hands its pixels to the display. Run it
// under Xvfb. Argument: frames (default 600). Goal: under 2 ms of CPU per frame, so that 30
// frames a second take under 6 % of one core.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "app/view/main_window.h"
#include "app/view/repaint_pace.h"
#include "form/form.h"
#include "platform/chart.h"
#include "process_usage.h"

int main(int argc, char** argv) {
  using namespace korvane;
  QApplication application(argc, argv);
  const int frames = argc > 1 ? std::atoi(argv[1]) : 600;
  constexpr int kBlock = 5000;
  constexpr int kPerFrame = 24;

  Form form;
  MainWindow window(form);
  window.resize(1280, 800);
  window.show();
  Chart& graph = window.AdcGraph();
  std::mt19937 random(7);
  std::normal_distribution<float> noise(0.0f, 2e-6f);
  graph.SetPointCount(kBlock);
  for (int i = 0; i < kBlock; ++i) {
    graph.SetPointX(0, i, static_cast<float>(i));
    graph.SetPointY(0, i, 1.25f + noise(random));
  }
  graph.Redraw();

  int next = 0;
  int frame = 0;
  double cpu_start = 0;
  QElapsedTimer wall;
  QTimer pace;
  pace.setInterval(kRepaintIntervalMs);
  QObject::connect(&pace, &QTimer::timeout, [&] {
    if (frame == 0) {
      cpu_start = bench::CpuSeconds();
      wall.start();
    }
    for (int i = 0; i < kPerFrame; ++i, next = (next + 1) % kBlock) {
      graph.SetPointY(0, next, 1.25f + noise(random));
    }
    form.txtDisplay.SetCaption(std::to_string(1.25 + noise(random)));
    graph.Redraw();
    if (++frame > frames) {
      const double cpu = bench::CpuSeconds() - cpu_start;
      const double seconds = static_cast<double>(wall.elapsed()) / 1000;
      std::printf(
          "time graph frame: %d frames of a %d-point graph in %.1f s, %.2f ms of CPU each (goal "
          "under 2 ms), %.1f %% of one core\n",
          frames, kBlock, seconds, 1000 * cpu / frames, 100 * cpu / seconds);
      QApplication::quit();
    }
  });
  QTimer::singleShot(500, [&] { pace.start(); });  // after the first paint of the window
  return QApplication::exec();
}
