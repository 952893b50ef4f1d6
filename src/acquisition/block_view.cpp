#include "acquisition/block_view.h"

#include "acquisition/display_mode.h"
#include "acquisition/noise_math.h"
#include "acquisition/noise_statistics.h"
#include "common/number_text.h"

namespace korvane {

namespace {

constexpr std::uint32_t kRed = 255;
constexpr std::size_t kSmallestHistogramBlock = 31;

}  // namespace

void ShowBlockOnCharts(std::span<const std::int32_t> codes, const BlockSettings& settings,
                       DisplayMode mode, Chart& adc_graph, Histogram& histogram) {
  double mean = 0;
  for (const std::int32_t code : codes) mean += code / static_cast<double>(codes.size());
  adc_graph.SetSeriesColor(0, kRed);
  adc_graph.SetPointCount(static_cast<int>(codes.size()) + 1);
  adc_graph.SetPointX(0, 0, 0.0f);
  adc_graph.SetPointY(0, 0, 0.0f);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const double volts = RoundHalfEven(codes[i] * settings.volts_per_lsb, 8);
    const int point = static_cast<int>(i) + 1;
    adc_graph.SetPointX(0, point, static_cast<float>(point));
    adc_graph.SetPointY(0, point,
                        static_cast<float>(PlotValue(mode, settings.temperature, codes[i], volts)));
  }
  adc_graph.SetYAxisTitle(TimeGraphTitle(mode, settings.temperature));
  const double sigma = BlockSigma(codes, mean);
  NoiseStatistics::SetGraphBand(adc_graph, mode == DisplayMode::kVolts, settings.temperature, mean,
                                sigma, settings.volts_per_lsb);
  adc_graph.Redraw();
  if (codes.size() >= kSmallestHistogramBlock) histogram.Draw(codes, mean, sigma);
}

}  // namespace korvane
