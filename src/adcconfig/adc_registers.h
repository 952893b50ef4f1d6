#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace korvane {

/// The reference choice of the settings panel, in the order of its option buttons.
enum class Reference { kExternal = 0, kInternal2V5 = 1, kInternal1V25 = 2 };

/// What the ADC set-up writes into the chip, already checked and normalised.
struct AdcSettings {
  double clock_mhz = 1.8432;
  int clock_divider = 0;
  int decimation = 1920;
  int filter = 3;       ///< list position: Auto, Fast, Sinc2, Sinc3
  int calibration = 1;  ///< list position: Off, Self offset and gain, ... System gain only
  bool unipolar = false;
  Reference reference = Reference::kInternal2V5;
  bool buffer = false;
  bool burn_out = false;
  int gain_exp = 0;        ///< PGA gain = 2 to this power
  int auto_zero_bits = 0;  ///< 0 or 128
  int pos_channel = 8;     ///< index into the channel names, 0..9
  int neg_channel = 8;
};

/// The seven configuration registers of the converter.
struct AdcRegisters {
  std::uint8_t fb = 0;  ///< whole megahertz of the clock minus one
  std::uint8_t f6 = 0;  ///< analog clock divider
  std::uint8_t d7 = 0;  ///< input multiplexer: positive input high nibble, negative low
  std::uint8_t de = 0;  ///< decimation ratio, low 8 bits
  std::uint8_t df = 0;  ///< decimation ratio, high bits
  std::uint8_t dc = 0;  ///< gain, buffer, reference, burn-out detection, auto-zero
  std::uint8_t dd = 0;  ///< calibration, filter, polarity

  friend bool operator==(const AdcRegisters&, const AdcRegisters&) = default;
};

/// Register values for `settings`. Every value is limited to its register field, whatever the
/// settings hold: out-of-range list positions, gains and channels are clamped into their ranges.
AdcRegisters ComputeRegisters(const AdcSettings& settings);

/// Register FB from the clock in MHz: floor(f + 0.499) - 1, limited to 0..31.
std::uint8_t ClockRegister(double clock_mhz);
/// The multiplexer code of a channel index: AIN0..AIN7 and AINCOM are 0..8, the diode is 15.
int ChannelCode(int channel_index);

/// The write commands in the order the board takes them: FB, F6, D7, DE, DF, DC, DD.
std::array<std::string, 7> RegisterCommands(const AdcRegisters& registers);

/// Reference voltage conversions assume: 1.25 V for the 1.25 V reference, 2.5 V otherwise (the
/// external reference is taken as 2.5 V too).
double ReferenceVolts(Reference reference);
/// Volts per code at unity gain over the 24-bit code range; bipolar input spans twice the
/// reference.
double VoltsPerCodeFor(double ref_volts, bool unipolar);

}  // namespace korvane
