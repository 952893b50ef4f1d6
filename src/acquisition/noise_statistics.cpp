#include "acquisition/noise_statistics.h"

#include <cmath>
#include <span>

#include "acquisition/block_samples.h"
#include "acquisition/noise_math.h"
#include "acquisition/reading_math.h"
#include "common/number_text.h"

namespace korvane {

namespace {

constexpr char kTemperatureTitle[] = "T E M P E R A T U R E, C";

}  // namespace

NoiseStatistics::NoiseStatistics(Form& form, Chart& adc_graph)
    : form_(form), adc_graph_(adc_graph) {}

void NoiseStatistics::CalcNoise(double& sigma) {
  const std::span<std::int32_t> block = BlockSamples(form_);
  sigma = BlockSigma(block, form_.MeanCode);
  MarkOutliers(block, form_.MeanCode, sigma, kOutlierMark);

  form_.txtDeviation.SetText(GeneralText(sigma));
  form_.txtEfBits.SetText(GeneralText(EffectiveBits(sigma)));
  form_.txtDeviation.SetEnabled(true);
  form_.txtEfBits.SetEnabled(true);
  form_.txtDisplay.SetEnabled(true);

  const double volts_per_lsb = form_.VoltsPerCode / std::ldexp(1.0, form_.PgaGainExp);
  SetGraphBand(adc_graph_, form_.optDataShow[0].Value(), form_.optADCinput[1].Value(),
               form_.MeanCode, sigma, volts_per_lsb);
}

void NoiseStatistics::SetGraphBand(Chart& adc_graph, bool volts_mode, bool temperature, double mean,
                                   double sigma, double volts_per_lsb) {
  if (volts_mode) {
    const YBand band = VoltsBand(mean, sigma, volts_per_lsb);
    adc_graph.SetYRange(band.min, band.max);
  }
  if (temperature) {
    const YBand band = TemperatureBand(DiodeCelsius(mean * volts_per_lsb));
    adc_graph.SetYRange(band.min, band.max);
    adc_graph.SetYAxisTitle(kTemperatureTitle);
  }
}

}  // namespace korvane
