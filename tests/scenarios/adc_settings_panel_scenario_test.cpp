#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "adcconfig/panel_rules.h"
#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

constexpr std::uint32_t kStandard = Control::kSystemButtonFace;
constexpr std::uint32_t kLightYellow = 0xC0FFFF;  // red 255, green 255, blue 192

/// The averaging controls that are visible, by name.
std::string Shown(const Form& form) {
  std::string shown;
  for (const Control* control : std::initializer_list<const Control*>{
           &form.fraStDev, &form.lblAver, &form.txtPartMode, &form.lblPartMode}) {
    if (control->Visible()) shown += control->Name() + " ";
  }
  return shown;
}

/// The input boxes, the channel buttons' state and the unit, as the user sees them.
std::string Inputs(const Form& form) {
  std::string buttons;
  for (const auto& button : form.cmdChanelMinusPlus) buttons += button.Enabled() ? '+' : '-';
  return form.txtChannel[0].Text() + " " + form.txtChannel[1].Text() + " " + buttons + " " +
         form.lblRazmernst.Caption();
}

/// "y" for a light yellow control, "-" for a standard one, "?" otherwise.
std::string Colours(std::initializer_list<const Control*> controls) {
  std::string colours;
  for (const Control* control : controls) {
    colours += control->BackColor() == kLightYellow ? 'y'
               : control->BackColor() == kStandard  ? '-'
                                                    : '?';
  }
  return colours;
}

TEST(AdcSettingsPanelScenario, EveryHandlerMarksTheChipAndStopsTheRunAsItShould) {
  ScenarioRig rig(1);
  rig.main.Form_Load();
  const struct {
    std::string action;
    std::function<void(Form&)> act;
    bool marks_not_set;
    bool stops_run;
  } effects[] = {
      {"filter", [](Form& f) { f.cboFilter.SetListIndex(0); }, true, true},
      {"calibration", [](Form& f) { f.cboCalibr.SetListIndex(4); }, true, true},
      {"clock", [](Form& f) { f.txtFreq.SetText("7"); }, true, true},
      {"divider", [](Form& f) { f.txtAClock.SetText("2"); }, true, true},
      {"decimation", [](Form& f) { f.txtDecimation.SetText("100"); }, true, true},
      {"gain <", [](Form& f) { f.cmdGainChange[0].Click(); }, true, true},
      {"gain >", [](Form& f) { f.cmdGainChange[1].Click(); }, true, true},
      {"positive <", [](Form& f) { f.cmdChanelMinusPlus[0].Click(); }, true, true},
      {"positive >", [](Form& f) { f.cmdChanelMinusPlus[1].Click(); }, true, true},
      {"negative <", [](Form& f) { f.cmdChanelMinusPlus[2].Click(); }, true, true},
      {"negative >", [](Form& f) { f.cmdChanelMinusPlus[3].Click(); }, true, true},
      {"Unipolar", [](Form& f) { f.optPolarity[1].SetValue(true); }, true, true},
      {"Bipolar", [](Form& f) { f.optPolarity[0].SetValue(true); }, true, true},
      {"Temperature", [](Form& f) { f.optADCinput[1].SetValue(true); }, true, true},
      {"Analog", [](Form& f) { f.optADCinput[0].SetValue(true); }, true, true},
      {"Ext", [](Form& f) { f.optRef[0].SetValue(true); }, true, true},
      {"1.25V", [](Form& f) { f.optRef[2].SetValue(true); }, true, true},
      {"buffer", [](Form& f) { f.chkBuffer.SetValue(1); }, true, true},
      {"burn-out", [](Form& f) { f.chkBOD.SetValue(1); }, true, true},
      {"Load DAC", [](Form& f) { f.cmdODAC.Click(); }, false, true},
      {"averaging", [](Form& f) { f.cboAvgFil.SetListIndex(1); }, false, true},
      {"sampling", [](Form& f) { f.cboSampling.SetListIndex(1); }, false, true},
      {"offset box", [](Form& f) { f.txtOfstDAC.SetText("5"); }, false, true},
      {"count box", [](Form& f) { f.txtPartMode.SetText("10"); }, false, true},
      {"AutoZero on", [](Form& f) { f.chkAutoZero.SetValue(1); }, false, false},
      {"AutoZero off", [](Form& f) { f.chkAutoZero.SetValue(0); }, false, false},
  };
  rig.form.PrgmGo = true;
  for (const auto& effect : effects) {
    SCOPED_TRACE(effect.action);
    rig.form.AdcNotSet = false;
    rig.form.TestGo = true;
    effect.act(rig.form);
    EXPECT_EQ(rig.form.AdcNotSet, effect.marks_not_set);
    EXPECT_EQ(rig.form.TestGo, !effect.stops_run);
    EXPECT_TRUE(rig.form.PrgmGo) << "a program load goes on";
  }
}

TEST(AdcSettingsPanelScenario, TemperatureInputAndAutoZeroExcludeEachOther) {
  ScenarioRig rig(1);
  rig.main.Form_Load();
  Form& form = rig.form;
  form.cmdChanelMinusPlus[1].Click();
  form.chkAutoZero.SetValue(1);
  EXPECT_EQ(form.AutoZeroBits, 128);
  EXPECT_EQ(form.PosChannel, 9) << "already analog: the channels stay";
  form.optADCinput[0].SetBackColor(kLightYellow);
  form.DecTrack = 1234;

  form.optADCinput[1].SetValue(true);
  EXPECT_EQ(Inputs(form), "DIODE DIODE ---- C");
  EXPECT_EQ(form.PosChannel * 10 + form.NegChannel, 99);
  EXPECT_EQ(form.chkAutoZero.Value(), 0);
  EXPECT_EQ(form.AutoZeroBits, 0);
  EXPECT_EQ(form.DecTrack, 0);
  EXPECT_EQ(Colours({&form.optADCinput[0], &form.optADCinput[1]}), "--");

  form.AdcNotSet = false;
  form.TestGo = true;
  form.chkAutoZero.SetValue(1);
  EXPECT_TRUE(form.optADCinput[0].Value());
  EXPECT_EQ(Inputs(form), "AINCOM AINCOM ++++ V");
  EXPECT_EQ(form.AutoZeroBits, 128);
  EXPECT_TRUE(form.AdcNotSet) << "through the input handler";
  EXPECT_FALSE(form.TestGo);

  form.DecTrack = 99;
  form.chkAutoZero.SetValue(0);
  EXPECT_EQ(form.AutoZeroBits, 0);
  EXPECT_EQ(form.DecTrack, 0);

  // Choosing Temperature with AutoZero clear leaves the box alone but still restarts tracking.
  form.DecTrack = 7;
  form.optADCinput[1].SetValue(true);
  EXPECT_EQ(form.DecTrack, 0);
  form.cmdChanelMinusPlus[1].Click();  // a disabled button cannot be pressed in the window,
  form.optADCinput[0].SetValue(true);  // and choosing Analog puts AINCOM back anyway
  EXPECT_EQ(Inputs(form), "AINCOM AINCOM ++++ V");
}

TEST(AdcSettingsPanelScenario, PolarityReferenceAndBoxesShowTheirColours) {
  ScenarioRig rig(1);
  rig.main.Form_Load();
  Form& form = rig.form;
  const auto polarity = [&] {
    return form.lblPolRange.Caption() + " " + Colours({&form.optPolarity[0], &form.optPolarity[1]});
  };
  form.optPolarity[1].SetValue(true);
  EXPECT_EQ(polarity(), "Range: 000000....FFFFFFh -y");
  form.optPolarity[0].SetValue(true);
  EXPECT_EQ(polarity(), "Range: 800000....7FFFFFh y-");

  for (auto& option : form.optRef) option.SetBackColor(kLightYellow);
  form.optRef[2].SetValue(true);
  EXPECT_EQ(Colours({&form.optRef[0], &form.optRef[1], &form.optRef[2]}), "---");

  std::string boxes;
  for (CheckBox* box : {&form.chkBuffer, &form.chkBOD}) {
    box->SetValue(1);
    boxes += Colours({box});
    box->SetValue(0);
    boxes += Colours({box});
  }
  EXPECT_EQ(boxes, "y-y-");
  EXPECT_EQ(kLightYellow, kHighlightColour);
}

TEST(AdcSettingsPanelScenario, SamplingModeAndInChipAveragingDecideWhatIsShown) {
  ScenarioRig rig(1);
  rig.main.Form_Load();
  Form& form = rig.form;
  std::vector<std::string> seen;
  const auto see = [&] {
    seen.push_back(Shown(form) + (form.lblPartMode.Visible() ? form.lblPartMode.Caption() : ""));
  };

  form.optPolarity[1].SetValue(true);
  form.cboAvgFil.SetListIndex(1);
  see();
  form.optPolarity[0].SetValue(true);  // the label is kept until the next run
  see();
  form.cboAvgFil.SetListIndex(2);
  see();
  form.cboAvgFil.SetListIndex(1);
  see();
  form.cboAvgFil.SetListIndex(0);
  see();
  form.cboSampling.SetListIndex(1);
  see();
  form.cboSampling.SetListIndex(2);
  see();
  form.cboAvgFil.SetListIndex(2);
  form.cboSampling.SetListIndex(0);  // the averaging selector goes to "None" and its handler runs
  see();
  EXPECT_EQ(form.cboAvgFil.ListIndex(), 0);
  form.cboSampling.SetListIndex(1);
  see();
  const std::string with_box = "fraStDev txtPartMode lblPartMode ";
  EXPECT_EQ(seen, (std::vector<std::string>{
                      with_box + "Average N=1...128", with_box + "Average N=1...128",
                      with_box + "Filter N=1...255", with_box + "Average N=1...255", "fraStDev ",
                      "fraStDev lblAver ", "fraStDev ", "", "fraStDev lblAver "}));
}

}  // namespace
}  // namespace korvane
