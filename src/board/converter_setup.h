#pragma once

#include <cstdint>

namespace korvane {

class SfrBank;

/// Addresses of the converter's registers.
namespace adc_register {
inline constexpr int kInputs = 0xD7;
inline constexpr int kControl = 0xDC;
inline constexpr int kMode = 0xDD;
inline constexpr int kDecimationLow = 0xDE;
inline constexpr int kDecimationHigh = 0xDF;
inline constexpr int kOffsetDac = 0xE6;
inline constexpr int kClockDivider = 0xF6;
}  // namespace adc_register

enum class ReferenceSource { kExternal, kInternal2V5, kInternal1V25 };

/// Register DD bits 5..4.
enum class AdcFilter { kAuto = 0, kFast = 1, kSinc2 = 2, kSinc3 = 3 };

/// Register DD bits 2..0; 6 and 7 start nothing, like kOff.
enum class CalibrationMode {
  kOff = 0,
  kSelfOffsetAndGain = 1,
  kSelfOffset = 2,
  kSelfGain = 3,
  kSystemOffset = 4,
  kSystemGain = 5,
};

/// The converter set-up as its registers hold it.
struct ConverterSetup {
  /// Multiplexer codes (register D7): 0..7 AIN0..AIN7, 8 AINCOM, F the temperature diode;
  /// 9..E select nothing and read 0 V.
  static constexpr int kDiodeInput = 0xF;

  int positive_input = 8;
  int negative_input = 8;
  /// PGA gain = 2 to this power, 0..7.
  int gain_exponent = 0;
  bool buffer = false;
  ReferenceSource reference = ReferenceSource::kExternal;
  bool burn_out_current = false;
  bool auto_zero = false;
  AdcFilter filter = AdcFilter::kAuto;
  bool unipolar = false;
  /// Offset DAC steps, -128..127.
  int offset_dac = 0;
  /// The analog clock divider A: the modulator runs at the clock / (A + 1) / 64.
  int clock_divider = 0;
  /// The decimation ratio D, 1..2047: one conversion per D modulator cycles.
  int decimation = 1;

  static ConverterSetup FromRegisters(const SfrBank& sfrs);
  int Gain() const { return 1 << gain_exponent; }
};

/// The reference a register DC value selects: bit 5 chooses the internal reference, bit 4 its
/// 2.5 V level over 1.25 V; bit 5 clear is the external reference whatever bit 4 says.
ReferenceSource ReferenceFromControl(std::uint8_t control);

/// Offset DAC steps of a register E6 value: bit 7 set gives +0..+127 from bits 6..0, bit 7 clear
/// gives -1..-128 (00 is -1, 7F is -128).
int OffsetDacSteps(std::uint8_t value);

}  // namespace korvane
