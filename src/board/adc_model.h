#pragma once

#include <cstdint>

#include "board/adc_inputs.h"
#include "board/adc_transfer.h"
#include "board/converter_setup.h"
#include "board/flicker_noise.h"
#include "board/gaussian_noise.h"
#include "board/simulated_signals.h"

namespace korvane {

/// The chip's converter: the inputs it sees, what calibration has removed of its errors, and
/// its noise, and the signals added to its inputs. Deterministic from the seed.
class AdcModel {
 public:
  AdcModel(const AdcInputs& inputs, std::uint32_t seed, SimulatedSignals input_signals = {});

  /// A change takes effect at the next conversion.
  AdcInputs& Inputs() { return inputs_; }

  ChipCalibration Calibration() const { return calibration_; }
  /// Runs the calibration that register DD's mode bits ask for.
  void Calibrate(CalibrationMode mode) { calibration_ = AfterCalibration(calibration_, mode); }
  /// A chip reset forgets every calibration.
  void ForgetCalibration() { calibration_ = {}; }

  /// One conversion at `data_rate_hz` that ends at `at_seconds` (the board's time: the signals
  /// are taken at that instant, so their sampling is the converter's), noise included: a signed
  /// code for bipolar input, a straight one for unipolar input (see CodeForVolts).
  std::int32_t Convert(const ConverterSetup& setup, double data_rate_hz, double at_seconds);

 private:
  AdcInputs inputs_;
  ChipCalibration calibration_;
  GaussianNoise noise_;
  SimulatedSignals signals_;
  FlickerNoise flicker_;
};

}  // namespace korvane
