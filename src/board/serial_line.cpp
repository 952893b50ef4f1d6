#include "board/serial_line.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace korvane {

namespace {

constexpr int kBitsPerByte = 10;

/// The sender's waveform: start bit low, 8 data bits LSB first, stop bit high, then idle high.
/// Time counts in ticks of 1 / (2 x sender rate x receiver rate) s, so that both rates' bit times
/// and half bit times are whole numbers and a sample on a bit boundary reads the same everywhere
/// (the new bit).
class Waveform {
 public:
  Waveform(std::string_view bytes, std::int64_t bit_ticks) : bytes_(bytes), bit_ticks_(bit_ticks) {}

  bool LevelAt(std::int64_t tick) const { return LevelOfBit(tick / bit_ticks_); }

  /// The first falling edge after `tick` (always on one of the sender's bit boundaries);
  /// nothing after the last start bit.
  std::optional<std::int64_t> NextFallingEdge(std::int64_t tick) const {
    const std::int64_t first = tick < 0 ? 0 : tick / bit_ticks_ + 1;
    for (std::int64_t bit = first; bit < TotalBits(); ++bit) {
      if (LevelOfBit(bit - 1) && !LevelOfBit(bit)) return bit * bit_ticks_;
    }
    return std::nullopt;
  }

 private:
  std::int64_t TotalBits() const { return static_cast<std::int64_t>(bytes_.size()) * kBitsPerByte; }

  bool LevelOfBit(std::int64_t bit) const {
    if (bit < 0 || bit >= TotalBits()) return true;  // idle
    const std::int64_t in_byte = bit % kBitsPerByte;
    if (in_byte == 0) return false;
    if (in_byte == kBitsPerByte - 1) return true;
    const auto byte =
        static_cast<std::uint8_t>(bytes_[static_cast<std::size_t>(bit / kBitsPerByte)]);
    return ((byte >> (in_byte - 1)) & 1u) != 0;
  }

  std::string_view bytes_;
  std::int64_t bit_ticks_;
};

}  // namespace

Micros ByteTimeOnLine(int bit_rate) {
  if (bit_rate <= 0) return Micros{0};
  return Micros{std::llround(kBitsPerByte * 1e6 / bit_rate)};
}

std::vector<UartByte> ReadAtRate(std::string_view bytes, int sender_rate, int receiver_rate) {
  std::vector<UartByte> read;
  if (sender_rate <= 0 || receiver_rate <= 0) return read;
  const double tick_seconds = 1.0 / (2.0 * sender_rate * receiver_rate);
  const std::int64_t half_bit = sender_rate;  // of the receiver
  const Waveform line(bytes, 2 * std::int64_t{receiver_rate});
  std::optional<std::int64_t> edge = line.NextFallingEdge(-1);
  while (edge) {
    const auto sample = [&](int bit) { return *edge + (2 * bit + 1) * half_bit; };
    if (line.LevelAt(sample(0))) {  // a glitch, not a start bit
      edge = line.NextFallingEdge(sample(0));
      continue;
    }
    unsigned value = 0;
    for (int bit = 0; bit < 8; ++bit) {
      if (line.LevelAt(sample(bit + 1))) value |= 1u << bit;
    }
    const std::int64_t stop = sample(kBitsPerByte - 1);
    read.push_back({static_cast<char>(value), static_cast<double>(stop) * tick_seconds});
    edge = line.NextFallingEdge(stop);
  }
  return read;
}

std::string ReadBytesAtRate(std::string_view bytes, int sender_rate, int receiver_rate) {
  std::string text;
  for (const UartByte& byte : ReadAtRate(bytes, sender_rate, receiver_rate)) {
    text.push_back(byte.byte);
  }
  return text;
}

}  // namespace korvane
