#include "board/serial_line.h"

#include <cmath>
#include <cstdlib>

namespace korvane {

namespace {
constexpr double kBitsPerByte = 10.0;
constexpr double kRateTolerance = 0.025;
}  // namespace

Micros ByteTimeOnLine(int bit_rate) {
  if (bit_rate <= 0) return Micros{0};
  return Micros{std::llround(kBitsPerByte * 1e6 / bit_rate)};
}

bool BitRatesMatch(int sender_rate, int receiver_rate) {
  if (sender_rate <= 0 || receiver_rate <= 0) return false;
  return std::abs(sender_rate - receiver_rate) <= kRateTolerance * receiver_rate;
}

char GarbledByte(char sent) {
  const unsigned scrambled = (static_cast<unsigned char>(sent) * 0x1Du + 0x55u) & 0x7Fu;
  return static_cast<char>(0x80u | scrambled);
}

}  // namespace korvane
