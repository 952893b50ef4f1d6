#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

/// What the start-up takes from the command line and the stored port.
struct StartupChoices {
  bool Sound = true;
  std::int16_t PortNumber = 0;
  /// Text for `txtFreq` when a third word was given.
  std::optional<std::string> FreqText;
  /// Clock in MHz for the board search; 0 = measure it.
  double Freq = 0.0;
  /// Four or more words: "Errors in program comand line".
  bool TooManyWords = false;
};

/// The port number of a stored "COM<n>" value: the text from its fourth character on, rounded;
/// 0 when it does not fit 16 bits or holds no number.
std::int16_t PortFromStoredValue(std::string_view stored);

/// Applies the command line's words (split at every single blank: sound switch "S"/"s", port
/// 1..256, clock MHz) to the stored port number.
StartupChoices ParseCommandLine(std::string_view text, std::int16_t stored_port);

}  // namespace korvane
