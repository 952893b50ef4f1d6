#include "board/sfr_bank.h"

namespace korvane {

namespace {
/// Bits 2..7 of CB are not part of the count; they read as this pattern, so a reader must mask.
constexpr unsigned kCountHighFiller = 0xA4;
}  // namespace

SfrBank::SfrBank(int clock_count) : clock_count_(clock_count) {}

void SfrBank::Reset() {
  registers_.fill(0);
}

void SfrBank::Write(int address, std::uint8_t value) {
  registers_[address & 0xFF] = value;
}

std::uint8_t SfrBank::Read(int address) const {
  const auto count = static_cast<unsigned>(clock_count_);
  switch (address & 0xFF) {
    case kClockCountLow:
      return static_cast<std::uint8_t>(count & 0xFFu);
    case kClockCountHigh:
      return static_cast<std::uint8_t>(kCountHighFiller | ((count >> 8) & 0x3u));
    default:
      return registers_[address & 0xFF];
  }
}

}  // namespace korvane
