#include "adcconfig/adc_registers.h"

#include <algorithm>
#include <cmath>

#include "common/number_text.h"

namespace korvane {

namespace {

constexpr double kFullScaleCodes = 16777215.0;

constexpr int kBufferBit = 0x08;
constexpr int kBurnOutBit = 0x40;
constexpr int kAutoZeroBit = 0x80;
constexpr int kUnipolarBit = 0x40;
constexpr int kDiodeIndex = 9;
constexpr int kDiodeCode = 15;

int ReferenceBits(Reference reference) {
  switch (reference) {
    case Reference::kInternal2V5:
      return 0x30;
    case Reference::kInternal1V25:
      return 0x20;
    case Reference::kExternal:
      break;
  }
  return 0x00;
}

std::uint8_t Byte(int value) {
  return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

std::string WriteCommand(const char* address, std::uint8_t value) {
  return std::string("RW") + address + Hex2(value);
}

}  // namespace

std::uint8_t ClockRegister(double clock_mhz) {
  if (std::isnan(clock_mhz)) return 0;
  const double whole = std::floor(std::clamp(clock_mhz, -1.0, 64.0) + 0.499) - 1.0;
  return static_cast<std::uint8_t>(std::clamp(whole, 0.0, 31.0));
}

int ChannelCode(int channel_index) {
  const int index = std::clamp(channel_index, 0, kDiodeIndex);
  return index == kDiodeIndex ? kDiodeCode : index;
}

AdcRegisters ComputeRegisters(const AdcSettings& settings) {
  AdcRegisters registers;
  registers.fb = ClockRegister(settings.clock_mhz);
  registers.f6 = Byte(std::clamp(settings.clock_divider, 0, 128));
  registers.d7 = Byte(ChannelCode(settings.pos_channel) * 16 + ChannelCode(settings.neg_channel));
  const int decimation = std::clamp(settings.decimation, 1, 2047);
  registers.de = Byte(decimation & 0xFF);
  registers.df = Byte(decimation / 256);
  registers.dc = Byte(std::clamp(settings.gain_exp, 0, 7) + (settings.buffer ? kBufferBit : 0) +
                      ReferenceBits(settings.reference) + (settings.burn_out ? kBurnOutBit : 0) +
                      (settings.auto_zero_bits != 0 ? kAutoZeroBit : 0));
  registers.dd =
      Byte(std::clamp(settings.calibration, 0, 5) + 16 * std::clamp(settings.filter, 0, 3) +
           (settings.unipolar ? kUnipolarBit : 0));
  return registers;
}

std::array<std::string, 7> RegisterCommands(const AdcRegisters& registers) {
  return {WriteCommand("FB", registers.fb), WriteCommand("F6", registers.f6),
          WriteCommand("D7", registers.d7), WriteCommand("DE", registers.de),
          WriteCommand("DF", registers.df), WriteCommand("DC", registers.dc),
          WriteCommand("DD", registers.dd)};
}

double ReferenceVolts(Reference reference) {
  return reference == Reference::kInternal1V25 ? 1.25 : 2.5;
}

double VoltsPerCodeFor(double ref_volts, bool unipolar) {
  return (unipolar ? ref_volts : 2.0 * ref_volts) / kFullScaleCodes;
}

}  // namespace korvane
