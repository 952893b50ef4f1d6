#pragma once

#include <array>
#include <optional>
#include <vector>

#include "board/adc_inputs.h"

namespace korvane {

class FilterResponse;

/// A harmonic of a tone: `order` times its frequency, `relative_dbc` below (negative) its level.
struct Harmonic {
  int order = 2;
  double relative_dbc = -60.0;
};

/// A sine on one input pin, added to the pin's steady voltage: amplitude * sin(2 pi f t + phase),
/// each harmonic n at n * f with n times the phase.
struct SineSignal {
  /// Multiplexer code of the pin: 0..7 AIN0..AIN7, 8 AINCOM.
  int input = 0;
  double amplitude_volts = 0.0;
  double frequency_hz = 0.0;
  double phase_degrees = 0.0;
  std::vector<Harmonic> harmonics;
};

/// Hum the leads to AIN0..AIN7 pick up from the mains, in phase on every one of them. AINCOM is
/// tied to the board's ground, so the hum shows against AINCOM and cancels between two AIN pins.
struct MainsPickup {
  double frequency_hz = 50.0;
  double amplitude_volts = 0.0;
  std::vector<Harmonic> harmonics;
};

/// What the simulated board adds to its steady inputs: tones, hum and the converter's 1/f noise.
/// The default adds nothing, and the board converts exactly as without it.
struct SimulatedSignals {
  std::vector<SineSignal> sines;
  std::optional<MainsPickup> mains;
  /// Where the converter's 1/f noise density meets its white noise density; 0 = no 1/f noise.
  double flicker_corner_hz = 0.0;

  bool HasTones() const { return !sines.empty() || mains.has_value(); }
};

/// Adds the tones and the hum to `volts` (by multiplexer code) as the converter's filter passes
/// them to a conversion that ends at `at_seconds`: each sine component at frequency f is scaled
/// by the filter's gain at f and delayed by its group delay.
void AddToneVolts(const SimulatedSignals& input_signals, const FilterResponse& filter,
                  double at_seconds, std::array<double, AdcInputs::kChannels>& volts);

}  // namespace korvane
