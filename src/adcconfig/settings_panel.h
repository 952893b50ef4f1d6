#pragma once

#include "form/form.h"

namespace korvane {

/// The handlers of the settings that `SetADC` turns into register values: lists, frequency
/// boxes, gain and channel steppers, options and check boxes, and the AutoZero box. They keep
/// the panel's displays and the form fields consistent, mark the chip as no longer configured
/// (`AdcNotSet`) and stop a running acquisition (`TestGo`). None of them talks to the board.
class SettingsPanel {
 public:
  explicit SettingsPanel(Form& form) : form_(form) {}

  void cboFilter_Click() { MarkSettingsChanged(); }
  void cboCalibr_Click() { MarkSettingsChanged(); }
  void txtFreq_Change() { MarkSettingsChanged(); }
  void txtAClock_Change() { MarkSettingsChanged(); }
  void txtDecimation_Change() { MarkSettingsChanged(); }

  /// 0 steps the gain down, 1 up; 1 and 128 wrap round.
  void cmdGainChange_Click(int Index);
  /// 0/1 step the positive input down/up, 2/3 the negative input; any other index (-1) only
  /// refreshes the two channel boxes.
  void cmdChanelMinusPlus_Click(int Index);
  void optPolarity_Click(int Index);
  /// 0 "Analog": both inputs AINCOM, steppers enabled. 1 "Temperature": both inputs the diode,
  /// units "C", AutoZero off, steppers disabled.
  void optADCinput_Click(int Index);
  /// Leaves every reference option in the standard colour.
  void optRef_Click(int Index);
  void chkBuffer_Click();
  void chkBOD_Click();
  /// Ticking it selects the analog input; clearing it restarts the decimal tracking.
  void chkAutoZero_Click();

 private:
  void MarkSettingsChanged();

  Form& form_;
};

}  // namespace korvane
