#include "board/converter_setup.h"

#include <algorithm>

#include "board/sfr_bank.h"

namespace korvane {

ReferenceSource ReferenceFromControl(std::uint8_t control) {
  if ((control & 0x20u) == 0) return ReferenceSource::kExternal;
  return (control & 0x10u) != 0 ? ReferenceSource::kInternal2V5 : ReferenceSource::kInternal1V25;
}

int OffsetDacSteps(std::uint8_t value) {
  const int magnitude = value & 0x7F;
  return (value & 0x80u) != 0 ? magnitude : -1 - magnitude;
}

ConverterSetup ConverterSetup::FromRegisters(const SfrBank& sfrs) {
  const std::uint8_t inputs = sfrs.Read(adc_register::kInputs);
  const std::uint8_t control = sfrs.Read(adc_register::kControl);
  const std::uint8_t mode = sfrs.Read(adc_register::kMode);

  ConverterSetup setup;
  setup.positive_input = inputs >> 4;
  setup.negative_input = inputs & 0x0F;
  setup.gain_exponent = control & 0x07;
  setup.buffer = (control & 0x08u) != 0;
  setup.reference = ReferenceFromControl(control);
  setup.burn_out_current = (control & 0x40u) != 0;
  setup.auto_zero = (control & 0x80u) != 0;
  setup.filter = static_cast<AdcFilter>((mode >> 4) & 0x03);
  setup.unipolar = (mode & 0x40u) != 0;
  setup.offset_dac = OffsetDacSteps(sfrs.Read(adc_register::kOffsetDac));
  setup.clock_divider = sfrs.Read(adc_register::kClockDivider);
  const int decimation = (sfrs.Read(adc_register::kDecimationHigh) & 0x07) * 256 +
                         sfrs.Read(adc_register::kDecimationLow);
  setup.decimation = std::max(decimation, 1);
  return setup;
}

}  // namespace korvane
