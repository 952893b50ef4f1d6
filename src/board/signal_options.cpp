#include "board/signal_options.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <vector>

namespace korvane {

namespace {

constexpr std::string_view kSine = "--sim-sine=";
constexpr std::string_view kMains = "--sim-mains=";
constexpr std::string_view kFlickerCorner = "--sim-flicker-corner=";
/// Far above the fastest modulator (the largest clock over 64), yet precise in double time.
constexpr double kHighestHz = 1e6;
/// Far beyond any input's range; a larger tone only saturates the codes.
constexpr double kLargestVolts = 100.0;
constexpr int kHighestHarmonic = 100;
constexpr double kLowestMainsHz = 45.0;
constexpr double kHighestMainsHz = 65.0;

std::vector<std::string_view> SplitAtCommas(std::string_view text) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t comma = text.find(',');
    fields.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return fields;
    text.remove_prefix(comma + 1);
  }
}

/// A finite number that fills the whole field.
std::optional<double> Number(std::string_view field) {
  double value = 0;
  const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
  if (field.empty() || result.ec != std::errc() || result.ptr != field.data() + field.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> NumberIn(std::string_view field, double above, double up_to) {
  const auto value = Number(field);
  if (!value || *value <= above || *value > up_to) return std::nullopt;
  return value;
}

std::optional<int> InputPin(std::string_view field) {
  std::string upper(field);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper == "AINCOM") return AdcInputs::kAincom;
  if (upper.size() == 4 && upper.starts_with("AIN") && upper[3] >= '0' && upper[3] <= '7') {
    return upper[3] - '0';
  }
  return std::nullopt;
}

/// "hN:DBC".
std::optional<Harmonic> HarmonicField(std::string_view field) {
  const std::size_t colon = field.find(':');
  if (field.size() < 2 || (field[0] != 'h' && field[0] != 'H') || colon == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view order_text = field.substr(1, colon - 1);
  int order = 0;
  const auto parsed =
      std::from_chars(order_text.data(), order_text.data() + order_text.size(), order);
  const auto dbc = Number(field.substr(colon + 1));
  if (order_text.empty() || parsed.ec != std::errc() ||
      parsed.ptr != order_text.data() + order_text.size() || order < 2 ||
      order > kHighestHarmonic || !dbc || *dbc > 0) {
    return std::nullopt;
  }
  return Harmonic{order, *dbc};
}

std::string Bad(std::string_view argument, std::string_view why) {
  return "bad value in " + std::string(argument) + ": " + std::string(why);
}

std::string ApplySine(std::string_view argument, SimulatedSignals& input_signals) {
  const auto fields = SplitAtCommas(argument.substr(kSine.size()));
  if (fields.size() < 3) return Bad(argument, "give INPUT,VOLTS,HZ");
  SineSignal sine;
  const auto pin = InputPin(fields[0]);
  if (!pin) return Bad(argument, "the input is AIN0..AIN7 or AINCOM");
  sine.input = *pin;
  const auto volts = NumberIn(fields[1], 0.0, kLargestVolts);
  if (!volts) return Bad(argument, "the amplitude is above 0 and at most 100 V");
  sine.amplitude_volts = *volts;
  const auto hz = NumberIn(fields[2], 0.0, kHighestHz);
  if (!hz) return Bad(argument, "the frequency is above 0 and at most 1000000 Hz");
  sine.frequency_hz = *hz;
  for (std::size_t i = 3; i < fields.size(); ++i) {
    if (const auto harmonic = HarmonicField(fields[i])) {
      sine.harmonics.push_back(*harmonic);
    } else if (const auto degrees = Number(fields[i]); degrees && i == 3) {
      sine.phase_degrees = *degrees;
    } else {
      return Bad(argument,
                 "after INPUT,VOLTS,HZ come the phase in degrees and harmonics hN:DBC "
                 "(N 2..100, DBC at most 0)");
    }
  }
  input_signals.sines.push_back(sine);
  return {};
}

std::string ApplyMains(std::string_view argument, SimulatedSignals& input_signals) {
  const auto fields = SplitAtCommas(argument.substr(kMains.size()));
  if (fields.size() < 2) return Bad(argument, "give HZ,VOLTS");
  MainsPickup mains;
  const auto hz = Number(fields[0]);
  if (!hz || *hz < kLowestMainsHz || *hz > kHighestMainsHz) {
    return Bad(argument, "the mains frequency is 45..65 Hz");
  }
  mains.frequency_hz = *hz;
  const auto volts = NumberIn(fields[1], 0.0, kLargestVolts);
  if (!volts) return Bad(argument, "the amplitude is above 0 and at most 100 V");
  mains.amplitude_volts = *volts;
  for (std::size_t i = 2; i < fields.size(); ++i) {
    const auto harmonic = HarmonicField(fields[i]);
    if (!harmonic) return Bad(argument, "harmonics are hN:DBC (N 2..100, DBC at most 0)");
    mains.harmonics.push_back(*harmonic);
  }
  input_signals.mains = mains;
  return {};
}

}  // namespace

bool IsSignalOption(std::string_view argument) {
  return argument.starts_with(kSine) || argument.starts_with(kMains) ||
         argument.starts_with(kFlickerCorner);
}

std::string ApplySignalOption(std::string_view argument, SimulatedSignals& input_signals) {
  if (argument.starts_with(kSine)) return ApplySine(argument, input_signals);
  if (argument.starts_with(kMains)) return ApplyMains(argument, input_signals);
  if (argument.starts_with(kFlickerCorner)) {
    const auto hz = NumberIn(argument.substr(kFlickerCorner.size()), 0.0, kHighestHz);
    if (!hz) return Bad(argument, "the corner is above 0 and at most 1000000 Hz");
    input_signals.flicker_corner_hz = *hz;
    return {};
  }
  return "unknown option " + std::string(argument);
}

}  // namespace korvane
