#include "app/command_buttons.h"

#include <string>

#include "app/full_scale_range.h"
#include "common/number_text.h"

namespace korvane {

namespace {

/// What a load changes on a control, to put back afterwards.
struct SavedControl {
  explicit SavedControl(Control& saved)
      : control(saved), visible(saved.Visible()), enabled(saved.Enabled()) {}
  void Restore() const {
    control.SetVisible(visible);
    control.SetEnabled(enabled);
  }
  Control& control;
  bool visible;
  bool enabled;
};

}  // namespace

CommandButtons::CommandButtons(Form& form, BoardLink& link, ProgramLoader& loader,
                               AdcSetup& adc_setup)
    : form_(form), link_(link), loader_(loader), adc_setup_(adc_setup) {}

void CommandButtons::cmdCntr_Click(int Index) {
  ShowFullScaleRange();
  for (auto& button : form_.cmdCntr) button.SetEnabled(false);
  if (Index == 2) form_.cmdCntr[2].SetEnabled(true);
  link_.PumpEvents();
  if (Index == 0) return LoadButton();
  if (Index == 1) {
    adc_setup_.SetADC();
    EnableCommandButtons();
  }
}

void CommandButtons::ShowFullScaleRange() {
  form_.FullScaleRange = FullScaleRangeVolts(form_.optRef[1].Value(), form_.optRef[2].Value(),
                                             form_.optPolarity[0].Value(), form_.PgaGainExp);
  form_.Panel(3).SetText("FSR = " + GeneralText(form_.FullScaleRange) + "V");
}

void CommandButtons::LoadButton() {
  auto& button = form_.cmdCntr[0];
  button.SetEnabled(true);
  form_.cmdReset.SetEnabled(false);
  if (button.Caption() == kStopLoadCaption) {
    form_.PrgmGo = false;
    return;
  }
  const SavedControl saved(button);
  form_.PrgmGo = true;
  button.SetCaption(kStopLoadCaption);
  button.SetVisible(true);
  link_.PumpEvents();
  loader_.LoadProgram();
  form_.PrgmGo = false;
  button.SetCaption(kLoadCaption);
  button.SetVisible(saved.visible);
  form_.cmdReset.SetEnabled(true);
  EnableCommandButtons();
}

void CommandButtons::LoadProgramWithStopButton() {
  auto& button = form_.cmdCntr[0];
  const SavedControl saved[] = {SavedControl(form_.frmKorvane_Demo), SavedControl(button),
                                SavedControl(form_.cmdCntr[1]),      SavedControl(form_.cmdCntr[2]),
                                SavedControl(form_.cmdReset),        SavedControl(form_.fraADCset)};
  const std::string caption = button.Caption();
  form_.cmdCntr[1].SetEnabled(false);
  form_.cmdCntr[2].SetEnabled(false);
  form_.cmdReset.SetEnabled(false);
  form_.fraADCset.SetEnabled(false);
  button.SetCaption(kStopLoadCaption);
  button.SetVisible(true);
  button.SetEnabled(true);
  form_.frmKorvane_Demo.SetEnabled(true);
  loader_.LoadProgram();
  button.SetCaption(caption);
  for (const auto& control : saved) control.Restore();
}

void CommandButtons::EnableCommandButtons() {
  for (auto& button : form_.cmdCntr) button.SetEnabled(true);
}

}  // namespace korvane
