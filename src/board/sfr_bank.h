#pragma once

#include <array>
#include <cstdint>

namespace korvane {

/// The chip's special function registers (addresses 00..FF). They read back what was written
/// (00 after a reset), except CA and CB: the boot firmware's clock measurement, a 10-bit count
/// whose low 8 bits read in CA and whose bits 8..9 read in the two low bits of CB.
class SfrBank {
 public:
  static constexpr int kClockCountLow = 0xCA;
  static constexpr int kClockCountHigh = 0xCB;

  explicit SfrBank(int clock_count);

  /// Back to the reset values.
  void Reset();
  void Write(int address, std::uint8_t value);
  std::uint8_t Read(int address) const;

 private:
  std::array<std::uint8_t, 256> registers_{};
  int clock_count_;
};

}  // namespace korvane
