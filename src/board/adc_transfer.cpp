#include "board/adc_transfer.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvane {

namespace {

constexpr double kInternalHighReference = 2.5;
constexpr double kInternalLowReference = 1.25;
constexpr double kDiodeReferenceCelsius = 25.0;
constexpr int kModulatorClocksPerCycle = 64;
constexpr int kOffsetDacStepsPerHalfReference = 128;

bool IsAnalogInput(int mux_code) {
  return mux_code >= 0 && mux_code < AdcInputs::kChannels;
}

double PinVolts(int mux_code, const AdcInputs& inputs) {
  return IsAnalogInput(mux_code) ? inputs.volts[static_cast<std::size_t>(mux_code)] : 0.0;
}

double FilterNoiseFactor(AdcFilter filter) {
  switch (filter) {
    case AdcFilter::kFast:
      return chip_adc::kFastFilterNoiseFactor;
    case AdcFilter::kSinc2:
      return chip_adc::kSinc2NoiseFactor;
    case AdcFilter::kAuto:
    case AdcFilter::kSinc3:
      break;
  }
  return 1.0;
}

}  // namespace

ChipCalibration AfterCalibration(ChipCalibration before, CalibrationMode mode) {
  ChipCalibration after = before;
  switch (mode) {
    case CalibrationMode::kSelfOffsetAndGain:
      after.offset_removed = true;
      after.gain_removed = true;
      break;
    case CalibrationMode::kSelfOffset:
    case CalibrationMode::kSystemOffset:
      after.offset_removed = true;
      break;
    case CalibrationMode::kSelfGain:
    case CalibrationMode::kSystemGain:
      after.gain_removed = true;
      break;
    case CalibrationMode::kOff:
      break;
  }
  return after;
}

double DiodeVolts(double temperature_celsius) {
  return chip_adc::kDiodeVoltsAt25Celsius +
         chip_adc::kDiodeVoltsPerDegree * (temperature_celsius - kDiodeReferenceCelsius);
}

double ActiveReferenceVolts(const ConverterSetup& setup, const AdcInputs& inputs) {
  switch (setup.reference) {
    case ReferenceSource::kInternal2V5:
      return kInternalHighReference;
    case ReferenceSource::kInternal1V25:
      return kInternalLowReference;
    case ReferenceSource::kExternal:
      break;
  }
  return inputs.external_reference_volts;
}

double MuxInputVolts(const ConverterSetup& setup, const AdcInputs& inputs) {
  if (setup.positive_input == ConverterSetup::kDiodeInput) {
    return DiodeVolts(inputs.temperature_celsius);
  }
  return PinVolts(setup.positive_input, inputs) - PinVolts(setup.negative_input, inputs);
}

double OffsetDacStepVolts(const ConverterSetup& setup, double reference_volts) {
  return reference_volts / 2.0 / kOffsetDacStepsPerHalfReference / setup.Gain();
}

double ModulatorRateHz(double clock_mhz, const ConverterSetup& setup) {
  return clock_mhz * 1e6 / (setup.clock_divider + 1) / kModulatorClocksPerCycle;
}

double ConversionRateHz(double clock_mhz, const ConverterSetup& setup) {
  return ModulatorRateHz(clock_mhz, setup) / std::max(setup.decimation, 1);
}

double NoiseRmsVolts(const ConverterSetup& setup, double data_rate_hz) {
  const double density =
      std::hypot(chip_adc::kFrontEndNoiseDensity, chip_adc::kModulatorNoiseDensity / setup.Gain());
  const double buffer = setup.buffer ? chip_adc::kBufferNoiseFactor : 1.0;
  return density * std::sqrt(std::max(data_rate_hz, 0.0)) * buffer *
         FilterNoiseFactor(setup.filter);
}

std::int32_t CodeForVolts(double volts, const ConverterSetup& setup, double reference_volts) {
  const double span = setup.unipolar ? reference_volts : 2.0 * reference_volts;
  const double codes = volts * setup.Gain() * chip_adc::kUnipolarMax / span;
  const double low = setup.unipolar ? 0.0 : chip_adc::kBipolarMin;
  const double high = setup.unipolar ? chip_adc::kUnipolarMax : chip_adc::kBipolarMax;
  // Clamped before rounding: a wild input (or a reference of 0 V) must not overflow the code.
  return static_cast<std::int32_t>(
      std::lround(std::clamp(std::isnan(codes) ? 0.0 : codes, low, high)));
}

std::int32_t ConversionCode(const ConverterSetup& setup, const AdcInputs& inputs,
                            ChipCalibration calibration, double noise_volts) {
  const double reference = ActiveReferenceVolts(setup, inputs);
  double volts = MuxInputVolts(setup, inputs) + noise_volts +
                 setup.offset_dac * OffsetDacStepVolts(setup, reference);
  if (setup.burn_out_current) volts += chip_adc::kBurnOutOffsetVolts;
  if (!calibration.offset_removed && !setup.auto_zero) volts += chip_adc::kUncalibratedOffsetVolts;
  if (!calibration.gain_removed) volts *= 1.0 + chip_adc::kUncalibratedGainError;
  return CodeForVolts(volts, setup, reference);
}

std::string ResultLine(std::int32_t code) {
  static constexpr std::array<char, 16> kDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                   '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
  const auto bits = static_cast<std::uint32_t>(code) & 0xFFFFFFu;
  std::string line(6, '0');
  for (std::size_t i = 0; i < line.size(); ++i) {
    line[line.size() - 1 - i] = kDigits[(bits >> (4 * i)) & 0xFu];
  }
  return line + "\r\n";
}

}  // namespace korvane
