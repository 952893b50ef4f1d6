#pragma once

#include <array>

namespace korvane {

/// What the world outside the chip offers its converter.
struct AdcInputs {
  /// Analog inputs by their multiplexer code: 0..7 AIN0..AIN7, 8 AINCOM.
  static constexpr int kChannels = 9;
  static constexpr int kAincom = 8;

  /// Volts on each analog input pin, against the board's ground.
  std::array<double, kChannels> volts{};
  /// The chip's temperature, which sets the temperature diode's voltage.
  double temperature_celsius = 25.0;
  /// The voltage on the external reference pins, used when register DC selects them.
  double external_reference_volts = 2.5;
};

}  // namespace korvane
