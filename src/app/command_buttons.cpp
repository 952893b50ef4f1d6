#include "app/command_buttons.h"

#include <string>

#include "acquisition/display_mode.h"
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

CommandButtons::CommandButtons(Form& form, BoardLink& link, Operations operations)
    : form_(form), link_(link), operations_(operations) {}

void CommandButtons::cmdCntr_Click(int Index) {
  if (Index == 2 && preparing_run_) return;
  ShowFullScaleRange();
  for (auto& button : form_.cmdCntr) button.SetEnabled(false);
  if (Index == 2) form_.cmdCntr[2].SetEnabled(true);
  link_.PumpEvents();
  switch (Index) {
    case 0:
      return LoadButton();
    case 1:
      operations_.adc_setup.SetADC();
      return EnableCommandButtons();
    case 2:
      return RunButton();
    default:
      return EnableCommandButtons();
  }
}

void CommandButtons::RunButton() {
  auto& button = form_.cmdCntr[2];
  if (button.Caption() == kStopRunCaption) {
    form_.TestGo = false;
    form_.cmdReset.SetEnabled(true);
    return;
  }
  preparing_run_ = true;
  const bool prepared = PrepareRun();
  preparing_run_ = false;
  if (!prepared) return EnableCommandButtons();

  if (form_.chkLogFile.Value() == 1) StartCapture();
  form_.TestGo = true;
  button.SetCaption(kStopRunCaption);
  form_.cmdReset.SetEnabled(false);
  link_.PumpEvents();
  operations_.run.RunADC();
  button.SetCaption(kRunCaption);
  form_.cmdReset.SetEnabled(true);
  EnableCommandButtons();
}

bool CommandButtons::PrepareRun() {
  if (form_.NeedReset) {
    operations_.reset.ResetBoard();
    form_.NeedReset = false;
  }
  operations_.adc_setup.SetADC();
  SetDisplayMode(form_, operations_.adc_graph);
  if (form_.AdcNotSet) {
    operations_.adc_setup.SetADC();
    if (form_.AdcNotSet) return false;
    link_.PumpEvents();
  }
  return true;
}

void CommandButtons::StartCapture() {
  const auto path = capture_folder_ / kCaptureFile;
  auto& port = link_.SaxComm1();
  std::error_code error;
  if (std::filesystem::exists(path, error)) {
    port.SetCaptureFile("");
    std::filesystem::remove(path, error);
  }
  port.SetCaptureFile(path.string());
  port.SetCaptureMode(0);
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
  operations_.loader.LoadProgram();
  form_.PrgmGo = false;
  button.SetCaption(kLoadCaption);
  button.SetVisible(saved.visible);
  form_.cmdReset.SetEnabled(true);
  EnableCommandButtons();
}

bool CommandButtons::LoadProgramWithStopButton() {
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
  const bool loaded = operations_.loader.LoadProgram();
  button.SetCaption(caption);
  for (const auto& control : saved) control.Restore();
  return loaded;
}

void CommandButtons::EnableCommandButtons() {
  for (auto& button : form_.cmdCntr) button.SetEnabled(true);
}

}  // namespace korvane
