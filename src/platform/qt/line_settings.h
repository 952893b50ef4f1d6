#pragma once

#include <string_view>

namespace korvane {

/// The line format of a settings text such as "57600,N,8,1": bit rate, parity (N, E or O, either
/// case), data bits (5..8) and stop bits (1, 1.5 or 2). Missing or unclear framing fields keep
/// 8-N-1; a missing or unclear bit rate stays 0, because any rate guessed for it would reach the
/// board at a speed nobody chose.
struct LineSettings {
  enum class Parity { kNone, kEven, kOdd };
  enum class StopBits { kOne, kOneAndHalf, kTwo };

  int bit_rate = 0;  ///< 0: the text names no bit rate
  Parity parity = Parity::kNone;
  int data_bits = 8;
  StopBits stop_bits = StopBits::kOne;

  bool operator==(const LineSettings&) const = default;
};

LineSettings ParseLineSettings(std::string_view text);

}  // namespace korvane
