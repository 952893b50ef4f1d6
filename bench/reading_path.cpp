// CPU cost of the reading path: the board's text split into readings, each converted, shown,
// stored, counted and plotted on the real time graph, with the block statistics and histogram
// at every block end ("Continuous", AverNumb 5000, mode "V"). Repaints are left out: they come
// at most 30 times a second whatever the reading rate; korvane_chart_frame measures them.
// Prints one line per figure. Goal: at least 72,000 readings per second of CPU (100 times the
// link's 720 readings per second).

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "acquisition/histogram.h"
#include "acquisition/noise_statistics.h"
#include "acquisition/reading_lines.h"
#include "acquisition/reading_presenter.h"
#include "app/view/qt_chart.h"
#include "form/form.h"
#include "process_usage.h"

namespace {

/// One block's worth of stream text: codes scattered a few LSB around 100 LSB.
std::string StreamText(int readings) {
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0.0, 3.0);
  std::string text;
  char line[16];
  for (int i = 0; i < readings; ++i) {
    const auto code = static_cast<unsigned>(100 + static_cast<int>(noise(random))) & 0xFFFFFFu;
    std::snprintf(line, sizeof line, "%06X\r\n", code);
    text += line;
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace korvane;
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  const int blocks = argc > 1 ? std::atoi(argv[1]) : 200;
  constexpr int kBlock = 5000;

  Form form;
  form.VoltsPerCode = 5.0 / 16777215;
  form.cboSampling.SetListIndex(2);
  form.AverNumb = kBlock;
  QtChart graph(QtChart::Style::kLine, "", "");
  QtChart histo(QtChart::Style::kBars, "", "");
  graph.SetPointCount(kBlock + 1);
  ReadingPresenter presenter(form, graph);
  NoiseStatistics noise(form, graph);
  Histogram histogram(form, histo);
  ReadingLines lines;
  const std::string text = StreamText(kBlock);

  std::int64_t readings = 0;
  double block_end_cpu = 0;
  const double start = bench::CpuSeconds();
  for (int block = 0; block < blocks; ++block) {
    for (std::size_t at = 0; at < text.size(); at += 8) {
      lines.Append(std::string_view(text).substr(at, 8));
      const auto reading = lines.Next();
      const std::int32_t index = static_cast<std::int32_t>(readings % kBlock) + 1;
      presenter.ShowReading(ConversionCode(*reading), index);
      if (index >= 5) graph.Redraw();
      ++readings;
    }
    const double block_end_start = bench::CpuSeconds();
    double sigma = 0;
    noise.CalcNoise(sigma);
    if (sigma > 0) histogram.Gistogram(sigma);
    block_end_cpu += bench::CpuSeconds() - block_end_start;
    form.MeanCode = 0;
  }
  const double cpu = bench::CpuSeconds() - start;
  std::printf(
      "reading path: %lld readings in %.3f s of CPU: %.0f readings per CPU second "
      "(goal 72000)\n",
      static_cast<long long>(readings), cpu, static_cast<double>(readings) / cpu);
  std::printf("block end (statistics and histogram, 5000 readings): %.1f us\n",
              1e6 * block_end_cpu / blocks);

  return 0;
}
