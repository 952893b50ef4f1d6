#include "adcconfig/adc_setup.h"

#include "adcconfig/adc_timing.h"
#include "common/number_text.h"

namespace korvane {

void AdcSetup::SetADC() {
  const auto settings = CheckedSettings();
  if (!settings) {
    EndWithInputError();
    return;
  }
  const auto commands = RegisterCommands(ComputeRegisters(*settings));

  // The commands are built; from here on a settings change (or a board reset) sets the flag
  // again, and then the chip does not hold the current settings even if every write succeeds.
  const bool was_not_set = form_.AdcNotSet;
  form_.AdcNotSet = false;

  form_.Panel(1).SetText(kSetting);
  link_.PumpEvents();
  if (!SendAll(commands)) {
    form_.Panel(1).SetText(kSetFailed);
    form_.NeedReset = true;
    form_.AdcNotSet = form_.AdcNotSet || was_not_set;
    return;
  }
  link_.Wait(200);
  form_.Panel(1).SetText(kSetDone);
  form_.RunState = 0;
}

std::optional<AdcSettings> AdcSetup::CheckedSettings() {
  AdcSettings settings;

  form_.ClockMHz = ClampClockMHz(ValFromText(form_.txtFreq.Text()));
  form_.txtFreq.SetText(GeneralText(form_.ClockMHz));
  settings.clock_mhz = ValFromText(form_.txtFreq.Text());

  settings.clock_divider = ClockDivider(ValFromText(form_.txtAClock.Text()));
  form_.txtAClock.SetText(std::to_string(settings.clock_divider));

  const double modulator_khz = ModulatorKHz(form_.ClockMHz, settings.clock_divider);
  form_.txtFMod.SetText(GeneralText(modulator_khz));
  if (!(modulator_khz > 0)) {
    link_.Messages().MessageBox(kCheckFrequency, MessageIcon::kNone);
    return std::nullopt;
  }

  const auto decimation = CheckedDecimation(ValFromText(form_.txtDecimation.Text()));
  if (!decimation) {
    link_.Messages().MessageBox(kWrongDecimation, MessageIcon::kCritical);
    return std::nullopt;
  }
  settings.decimation = *decimation;
  form_.txtFdata.SetText(GeneralText(DataRateHz(modulator_khz, *decimation)));
  form_.txtTdata.SetText(GeneralText(DataPeriodMs(modulator_khz, *decimation)));

  ReadChoices(settings);
  form_.RefVolts = ReferenceVolts(settings.reference);
  form_.VoltsPerCode = VoltsPerCodeFor(form_.RefVolts, settings.unipolar);
  return settings;
}

void AdcSetup::ReadChoices(AdcSettings& settings) const {
  settings.filter = form_.cboFilter.ListIndex();
  settings.calibration = form_.cboCalibr.ListIndex();
  settings.unipolar = form_.optPolarity[1].Value();
  settings.buffer = form_.chkBuffer.Value() == 1;
  settings.burn_out = form_.chkBOD.Value() == 1;
  settings.reference = Reference::kExternal;
  if (form_.optRef[1].Value()) settings.reference = Reference::kInternal2V5;
  if (form_.optRef[2].Value()) settings.reference = Reference::kInternal1V25;
  settings.gain_exp = form_.PgaGainExp;
  settings.auto_zero_bits = form_.AutoZeroBits;
  settings.pos_channel = form_.PosChannel;
  settings.neg_channel = form_.NegChannel;
}

void AdcSetup::EndWithInputError() {
  form_.Panel(1).SetText(kRecheckInput);
  form_.Panel(1).SetText(kInputError);
  form_.AdcNotSet = true;
}

bool AdcSetup::SendAll(const std::array<std::string, 7>& commands) {
  for (const std::string& command : commands) {
    if (link_.SendCmd(command, kRegisterTimeoutMs)) return false;
  }
  return true;
}

}  // namespace korvane
