#pragma once

#include <string_view>

namespace korvane {

/// The line format of a settings text such as "57600,N,8,1": bit rate, parity (N, E or O, either
/// case), data bits (5..8) and stop bits (1, 1.5 or 2). Fields that are missing or not understood
/// keep the plain 1200 8-N-1 of the board link's first contact.
struct LineSettings {
  enum class Parity { kNone, kEven, kOdd };
  enum class StopBits { kOne, kOneAndHalf, kTwo };

  int bit_rate = 1200;
  Parity parity = Parity::kNone;
  int data_bits = 8;
  StopBits stop_bits = StopBits::kOne;

  bool operator==(const LineSettings&) const = default;
};

LineSettings ParseLineSettings(std::string_view text);

}  // namespace korvane
