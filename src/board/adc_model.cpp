#include "board/adc_model.h"

#include <utility>

#include "board/filter_response.h"

namespace korvane {

namespace {

/// Keeps the 1/f noise's random numbers apart from the white noise's.
constexpr std::uint32_t kFlickerSeedMix = 0x1F0CA5EDu;

}  // namespace

AdcModel::AdcModel(const AdcInputs& inputs, std::uint32_t seed, SimulatedSignals input_signals)
    : inputs_(inputs),
      noise_(seed),
      signals_(std::move(input_signals)),
      flicker_(seed ^ kFlickerSeedMix, signals_.flicker_corner_hz) {}

std::int32_t AdcModel::Convert(const ConverterSetup& setup, double data_rate_hz,
                               double at_seconds) {
  const double white_rms = NoiseRmsVolts(setup, data_rate_hz);
  double noise = white_rms * noise_.Next();
  if (signals_.flicker_corner_hz > 0) {
    noise += flicker_.Next(at_seconds, white_rms, data_rate_hz);
  }
  if (!signals_.HasTones()) return ConversionCode(setup, inputs_, calibration_, noise);
  AdcInputs now = inputs_;
  AddToneVolts(signals_, FilterResponse(setup, data_rate_hz), at_seconds, now.volts);
  return ConversionCode(setup, now, calibration_, noise);
}

}  // namespace korvane
