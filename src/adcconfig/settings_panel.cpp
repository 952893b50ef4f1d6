#include "adcconfig/settings_panel.h"

#include "adcconfig/panel_rules.h"

namespace korvane {

namespace {

constexpr int kAnalogInput = 0;
constexpr int kTemperatureInput = 1;
constexpr std::int32_t kCommonChannel = 8;
constexpr std::int32_t kDiodeChannel = 9;
constexpr int kRefreshOnly = -1;

void HighlightWhenTicked(CheckBox& box) {
  box.SetBackColor(box.Value() == 1 ? kHighlightColour : kStandardColour);
}

}  // namespace

void SettingsPanel::MarkSettingsChanged() {
  form_.AdcNotSet = true;
  form_.TestGo = false;
}

void SettingsPanel::cmdGainChange_Click(int Index) {
  form_.PgaGainExp = SteppedGainExp(form_.PgaGainExp, Index);
  form_.txtPGAGain.SetText(GainText(form_.PgaGainExp));
  MarkSettingsChanged();
}

void SettingsPanel::cmdChanelMinusPlus_Click(int Index) {
  const ChannelPair channels = SteppedChannels({form_.PosChannel, form_.NegChannel}, Index);
  form_.PosChannel = channels.positive;
  form_.NegChannel = channels.negative;
  form_.txtChannel[0].SetText(form_.ChannelNames[static_cast<std::size_t>(form_.PosChannel)]);
  form_.txtChannel[1].SetText(form_.ChannelNames[static_cast<std::size_t>(form_.NegChannel)]);
  MarkSettingsChanged();
}

void SettingsPanel::optPolarity_Click(int Index) {
  form_.lblPolRange.SetCaption(PolarityRangeText(Index == 1));
  for (auto& option : form_.optPolarity) option.SetBackColor(kStandardColour);
  if (Index == 0 || Index == 1) {
    form_.optPolarity[static_cast<std::size_t>(Index)].SetBackColor(kHighlightColour);
  }
  MarkSettingsChanged();
}

void SettingsPanel::optADCinput_Click(int Index) {
  for (auto& option : form_.optADCinput) option.SetBackColor(kStandardColour);
  form_.lblRazmernst.SetCaption("V");
  if (Index == kAnalogInput) {
    form_.PosChannel = kCommonChannel;
    form_.NegChannel = kCommonChannel;
    for (auto& button : form_.cmdChanelMinusPlus) button.SetEnabled(true);
  } else if (Index == kTemperatureInput) {
    form_.PosChannel = kDiodeChannel;
    form_.NegChannel = kDiodeChannel;
    form_.lblRazmernst.SetCaption("C");
    form_.chkAutoZero.SetValue(0);
    form_.DecTrack = 0;
    for (auto& button : form_.cmdChanelMinusPlus) button.SetEnabled(false);
  }
  cmdChanelMinusPlus_Click(kRefreshOnly);
  MarkSettingsChanged();
}

void SettingsPanel::optRef_Click(int /*Index*/) {
  for (auto& option : form_.optRef) option.SetBackColor(kStandardColour);
  MarkSettingsChanged();
}

void SettingsPanel::chkBuffer_Click() {
  HighlightWhenTicked(form_.chkBuffer);
  MarkSettingsChanged();
}

void SettingsPanel::chkBOD_Click() {
  HighlightWhenTicked(form_.chkBOD);
  MarkSettingsChanged();
}

void SettingsPanel::chkAutoZero_Click() {
  const bool ticked = form_.chkAutoZero.Value() == 1;
  form_.AutoZeroBits = ticked ? 128 : 0;
  if (ticked) {
    form_.optADCinput[kAnalogInput].SetValue(true);
  } else {
    form_.DecTrack = 0;
  }
}

}  // namespace korvane
