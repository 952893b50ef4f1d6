#include "board/simulated_signals.h"

#include <cmath>
#include <numbers>

#include "board/filter_response.h"

namespace korvane {

namespace {

/// The tone and its harmonics as the filter passes them at `at_seconds`.
double FilteredTone(double amplitude, double frequency_hz, double phase_radians,
                    const std::vector<Harmonic>& harmonics, const FilterResponse& filter,
                    double at_seconds) {
  const double seen_at = at_seconds - filter.DelaySeconds();
  const auto component = [&](double order, double level) {
    const double f = order * frequency_hz;
    return level * filter.Gain(f) *
           std::sin(2.0 * std::numbers::pi * f * seen_at + order * phase_radians);
  };
  double volts = component(1.0, amplitude);
  for (const Harmonic& harmonic : harmonics) {
    volts += component(harmonic.order, amplitude * std::pow(10.0, harmonic.relative_dbc / 20.0));
  }
  return volts;
}

}  // namespace

void AddToneVolts(const SimulatedSignals& input_signals, const FilterResponse& filter,
                  double at_seconds, std::array<double, AdcInputs::kChannels>& volts) {
  for (const SineSignal& sine : input_signals.sines) {
    if (sine.input < 0 || sine.input >= AdcInputs::kChannels) continue;
    volts[static_cast<std::size_t>(sine.input)] += FilteredTone(
        sine.amplitude_volts, sine.frequency_hz, sine.phase_degrees * std::numbers::pi / 180.0,
        sine.harmonics, filter, at_seconds);
  }
  if (input_signals.mains) {
    const double hum =
        FilteredTone(input_signals.mains->amplitude_volts, input_signals.mains->frequency_hz, 0.0,
                     input_signals.mains->harmonics, filter, at_seconds);
    for (int pin = 0; pin < AdcInputs::kAincom; ++pin) volts[static_cast<std::size_t>(pin)] += hum;
  }
}

}  // namespace korvane
