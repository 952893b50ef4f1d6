#include "form/form.h"

namespace korvane {

Form::Form() {
  for (auto& button : optDataShow) data_show_group_.Add(button);
  for (auto& button : optRef) ref_group_.Add(button);
  for (auto& button : optPolarity) polarity_group_.Add(button);
  for (auto& button : optADCinput) input_group_.Add(button);

  // Design-time selections: set before any handler is attached, so nothing runs.
  optDataShow[0].SetValue(true);
  optRef[1].SetValue(true);
  optPolarity[0].SetValue(true);
  optADCinput[0].SetValue(true);

  optDataShow[0].SetToolTip("Volts or Degree Cels.");
  optDataShow[1].SetToolTip("Decimal");
  optDataShow[2].SetToolTip("Hexidecimal");
  txtAverNumb.SetToolTip("Number of samples to calculate ENOB");

  // Array places the window does not use.
  Frame1[2].SetVisible(false);
  Label23[1].SetVisible(false);
  Label1[0].SetVisible(false);
  Label1[1].SetVisible(false);

  cmdCntr[0].SetVisible(false);
  cmdCntr[1].SetVisible(false);
  txtPartMode.SetVisible(false);
  lblPartMode.SetVisible(false);
  lblAver.SetVisible(false);
  prgProgress.SetMax(8);
  prgProgress.SetVisible(false);

  FillChannelNames();
}

void Form::FillChannelNames() {
  for (int i = 0; i < 8; ++i) ChannelNames[static_cast<std::size_t>(i)] = "AIN" + std::to_string(i);
  ChannelNames[8] = "AINCOM";
  ChannelNames[9] = "DIODE";
  for (std::size_t i = 10; i < ChannelNames.size(); ++i) ChannelNames[i] = "xxx";
}

}  // namespace korvane
