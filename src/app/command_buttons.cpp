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
  // A stop click arrives nested inside the operation it stops; any other click while the board
  // is busy would start a second exchange in the middle of the first.
  if (!IsStopClick(Index) && link_.ExchangeUnderWay()) return;
  ShowFullScaleRange();
  for (auto& button : form_.cmdCntr) button.SetEnabled(false);
  if (Index == 2) form_.cmdCntr[2].SetEnabled(true);
  link_.PumpEvents();
  switch (Index) {
    case 0:
      return LoadButton();
    case 1:
      SetAdcButton();
      return EnableCommandButtons();
    case 2:
      return RunButton();
    default:
      return EnableCommandButtons();
  }
}

bool CommandButtons::IsStopClick(int Index) const {
  return (Index == 0 && form_.cmdCntr[0].Caption() == kStopLoadCaption) ||
         (Index == 2 && form_.cmdCntr[2].Caption() == kStopRunCaption);
}

void CommandButtons::HoldExchangeControls(bool held) {
  form_.cmdReset.SetEnabled(!held);
  form_.fraADCset.SetEnabled(!held);
}

void CommandButtons::SetAdcButton() {
  const BoardLink::Exchange exchange(link_);
  HoldExchangeControls(true);
  operations_.adc_setup.SetADC();
  HoldExchangeControls(false);
}

void CommandButtons::RunButton() {
  auto& button = form_.cmdCntr[2];
  if (button.Caption() == kStopRunCaption) {
    form_.TestGo = false;
    form_.cmdReset.SetEnabled(true);
    return;
  }
  // Actions queued during the run (a DAC load) follow once the board has ended its stream.
  const BoardLink::Exchange exchange(link_);
  HoldExchangeControls(true);
  const bool prepared = PrepareRun();
  form_.fraADCset.SetEnabled(true);  // a settings change during the run stops it
  if (!prepared) {
    form_.cmdReset.SetEnabled(true);
    return EnableCommandButtons();
  }

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
  const BoardLink::Exchange exchange(link_);
  const SavedControl saved(button);
  form_.fraADCset.SetEnabled(false);
  form_.PrgmGo = true;
  button.SetCaption(kStopLoadCaption);
  button.SetVisible(true);
  link_.PumpEvents();
  operations_.loader.LoadProgram();
  form_.PrgmGo = false;
  button.SetCaption(kLoadCaption);
  button.SetVisible(saved.visible);
  form_.cmdReset.SetEnabled(true);
  form_.fraADCset.SetEnabled(true);
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
