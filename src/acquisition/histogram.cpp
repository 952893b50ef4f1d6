#include "acquisition/histogram.h"

#include "acquisition/block_samples.h"
#include "acquisition/histogram_bins.h"

namespace korvane {

namespace {

constexpr std::uint32_t kDarkGreen = 32768;
/// An empty bin is drawn a hair above zero so that it still shows as a bar.
constexpr float kEmptyBinHeight = 0.001f;
/// Keeps the bars off the whole-number grid of the end points.
constexpr double kBarOffset = 0.0001;
/// The end points and the twenty bins; the closing end point is drawn too.
constexpr int kPoints = HistogramBins::kBins + 2;

}  // namespace

Histogram::Histogram(Form& form, Chart& histo) : form_(form), histo_(histo) {}

void Histogram::Gistogram(const double& Sgm) {
  Draw(BlockSamples(form_), form_.MeanCode, Sgm);
}

void Histogram::Draw(std::span<const std::int32_t> samples, double mean, double sigma) {
  if (!(sigma > 0)) return;
  const HistogramBins bins = CountBins(samples, mean, sigma);
  const int m = bins.mean_bin;

  histo_.SetPointCount(kPoints);
  for (int k = 1; k <= HistogramBins::kBins; ++k) {
    const std::int32_t readings = bins.counts[static_cast<std::size_t>(k)];
    histo_.SetPointY(0, k, readings == 0 ? kEmptyBinHeight : static_cast<float>(readings));
    histo_.SetPointX(0, k, static_cast<float>((k - m) + kBarOffset));
  }
  histo_.SetPointX(0, 0, static_cast<float>(-m));
  histo_.SetPointY(0, 0, 0.0f);
  histo_.SetPointX(0, kPoints - 1, static_cast<float>(kPoints - 1 - m));
  histo_.SetPointY(0, kPoints - 1, 0.0f);
  histo_.SetSeriesColor(0, kDarkGreen);
  histo_.Redraw();
}

}  // namespace korvane
