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

/// Start-up, which ends with the board program running after its reset.
void StartWithBoardProgram(ScenarioRig& rig) {
  rig.main.Form_Load();
  ASSERT_EQ(rig.board.Mode(), BoardMode::kRunning);
}

std::vector<std::string> ChannelTexts(const Form& form) {
  return {form.txtChannel[0].Text(), form.txtChannel[1].Text()};
}

bool ChannelButtonsEnabled(const Form& form, bool enabled) {
  for (const auto& button : form.cmdChanelMinusPlus) {
    if (button.Enabled() != enabled) return false;
  }
  return true;
}

TEST(AdcSettingsPanelScenario, StartUpListSelectionsRunTheirHandlers) {
  ScenarioRig rig(1);
  rig.form.AdcNotSet = false;
  rig.form.TestGo = true;
  rig.form.fraStDev.SetVisible(false);
  rig.form.lblAver.SetVisible(true);
  rig.form.txtPartMode.SetVisible(true);
  rig.form.lblPartMode.SetVisible(true);
  bool not_set_at_welcome = false;
  bool run_stopped_at_welcome = false;
  rig.on_message = [&] {
    if (rig.Messages().size() != 1) return;
    not_set_at_welcome = rig.form.AdcNotSet;
    run_stopped_at_welcome = !rig.form.TestGo;
  };

  rig.main.Form_Load();

  EXPECT_TRUE(not_set_at_welcome);
  EXPECT_TRUE(run_stopped_at_welcome);
  EXPECT_TRUE(rig.form.AdcNotSet);
  EXPECT_TRUE(rig.form.fraStDev.Visible());
  EXPECT_FALSE(rig.form.lblAver.Visible());
  EXPECT_FALSE(rig.form.txtPartMode.Visible());
  EXPECT_FALSE(rig.form.lblPartMode.Visible());
  EXPECT_EQ(rig.form.cboAvgFil.SelectedText(), "None");
  EXPECT_EQ(rig.form.cboSampling.SelectedText(), "Continuous");
  EXPECT_EQ(rig.form.PgaGainExp, 0);
  EXPECT_EQ(rig.form.AutoZeroBits, 0);
  EXPECT_EQ(ChannelTexts(rig.form), (std::vector<std::string>{"AINCOM", "AINCOM"}));
}

TEST(AdcSettingsPanelScenario, EveryHandlerMarksTheChipAndStopsTheRunAsItShould) {
  ScenarioRig rig(1);
  rig.main.Form_Load();
  struct Effect {
    std::string action;
    std::function<void(Form&)> act;
    bool marks_not_set;
    bool stops_run;
  };
  const std::vector<Effect> effects{
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
  for (const Effect& effect : effects) {
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
  EXPECT_EQ(ChannelTexts(form), (std::vector<std::string>{"DIODE", "DIODE"}));
  EXPECT_EQ(form.PosChannel, 9);
  EXPECT_EQ(form.NegChannel, 9);
  EXPECT_EQ(form.lblRazmernst.Caption(), "C");
  EXPECT_EQ(form.chkAutoZero.Value(), 0);
  EXPECT_EQ(form.AutoZeroBits, 0);
  EXPECT_EQ(form.DecTrack, 0);
  EXPECT_TRUE(ChannelButtonsEnabled(form, false));
  EXPECT_EQ(form.optADCinput[0].BackColor(), kStandard);
  EXPECT_EQ(form.optADCinput[1].BackColor(), kStandard);

  form.AdcNotSet = false;
  form.TestGo = true;
  form.chkAutoZero.SetValue(1);
  EXPECT_TRUE(form.optADCinput[0].Value());
  EXPECT_EQ(ChannelTexts(form), (std::vector<std::string>{"AINCOM", "AINCOM"}));
  EXPECT_EQ(form.lblRazmernst.Caption(), "V");
  EXPECT_TRUE(ChannelButtonsEnabled(form, true));
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
  EXPECT_EQ(ChannelTexts(form), (std::vector<std::string>{"AINCOM", "AINCOM"}));
  EXPECT_TRUE(ChannelButtonsEnabled(form, true));
}

TEST(AdcSettingsPanelScenario, PolarityReferenceAndBoxesShowTheirColours) {
  ScenarioRig rig(1);
  rig.main.Form_Load();
  Form& form = rig.form;

  form.optPolarity[1].SetValue(true);
  EXPECT_EQ(form.lblPolRange.Caption(), "Range: 000000....FFFFFFh");
  EXPECT_EQ(form.optPolarity[1].BackColor(), kLightYellow);
  EXPECT_EQ(form.optPolarity[0].BackColor(), kStandard);
  form.optPolarity[0].SetValue(true);
  EXPECT_EQ(form.lblPolRange.Caption(), "Range: 800000....7FFFFFh");
  EXPECT_EQ(form.optPolarity[0].BackColor(), kLightYellow);
  EXPECT_EQ(form.optPolarity[1].BackColor(), kStandard);

  for (auto& option : form.optRef) option.SetBackColor(kLightYellow);
  form.optRef[2].SetValue(true);
  for (const auto& option : form.optRef) EXPECT_EQ(option.BackColor(), kStandard);

  for (CheckBox* box : {&form.chkBuffer, &form.chkBOD}) {
    SCOPED_TRACE(box->Name());
    box->SetValue(1);
    EXPECT_EQ(box->BackColor(), kLightYellow);
    box->SetValue(0);
    EXPECT_EQ(box->BackColor(), kStandard);
  }
  EXPECT_EQ(kLightYellow, kHighlightColour);
}

TEST(AdcSettingsPanelScenario, SamplingModeAndInChipAveragingDecideWhatIsShown) {
  ScenarioRig rig(1);
  rig.main.Form_Load();
  Form& form = rig.form;

  form.optPolarity[1].SetValue(true);
  form.cboAvgFil.SetListIndex(1);
  EXPECT_TRUE(form.txtPartMode.Visible());
  EXPECT_TRUE(form.lblPartMode.Visible());
  EXPECT_EQ(form.lblPartMode.Caption(), "Average N=1...128");
  form.optPolarity[0].SetValue(true);
  EXPECT_EQ(form.lblPartMode.Caption(), "Average N=1...128") << "kept until the next run";
  form.cboAvgFil.SetListIndex(2);
  EXPECT_EQ(form.lblPartMode.Caption(), "Filter N=1...255");
  form.cboAvgFil.SetListIndex(1);
  EXPECT_EQ(form.lblPartMode.Caption(), "Average N=1...255");
  form.cboAvgFil.SetListIndex(0);
  EXPECT_FALSE(form.txtPartMode.Visible());
  EXPECT_FALSE(form.lblPartMode.Visible());

  form.cboSampling.SetListIndex(1);
  EXPECT_TRUE(form.lblAver.Visible());
  EXPECT_TRUE(form.fraStDev.Visible());
  form.cboSampling.SetListIndex(2);
  EXPECT_FALSE(form.lblAver.Visible());
  EXPECT_TRUE(form.fraStDev.Visible());

  form.cboAvgFil.SetListIndex(2);
  form.cboSampling.SetListIndex(0);
  EXPECT_FALSE(form.fraStDev.Visible());
  EXPECT_FALSE(form.lblAver.Visible());
  EXPECT_EQ(form.cboAvgFil.ListIndex(), 0);
  EXPECT_FALSE(form.txtPartMode.Visible()) << "the averaging selector's handler ran";
  EXPECT_FALSE(form.lblPartMode.Visible());
  form.cboSampling.SetListIndex(1);
  EXPECT_TRUE(form.fraStDev.Visible());
  EXPECT_TRUE(form.lblAver.Visible());
}


TEST(AdcSettingsPanelScenario, LoadDacClampsAndWritesTheOffsetRegister) {
  ScenarioRig rig(1);
  StartWithBoardProgram(rig);
  struct Case {
    std::string typed, shown, command;
  };
  // The reading and clamping rules are tested on their own; here the limits end to end.
  const std::vector<Case> cases{
      {"0", "0", "RWE680"},   {"200", "127", "RWE6FF"},   {"127.5", "127", "RWE6FF"},
      {"-1", "-1", "RWE600"}, {"-128", "-128", "RWE67F"}, {"-129", "-128", "RWE67F"},
      {"abc", "0", "RWE680"}, {"1e999", "127", "RWE6FF"},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    rig.form.txtOfstDAC.SetText(c.typed);
    rig.form.Panel(1).SetText("");
    rig.form.TestGo = true;
    const int beeps_before = rig.dialogs.beeps;
    rig.form.cmdODAC.Click();
    EXPECT_EQ(rig.form.txtOfstDAC.Text(), c.shown);
    ASSERT_FALSE(rig.board.ReceivedCommands().empty());
    EXPECT_EQ(rig.board.ReceivedCommands().back().text, c.command);
    EXPECT_EQ(rig.board.Sfr(0xE6), std::stoi(c.command.substr(4), nullptr, 16));
    EXPECT_EQ(rig.form.Panel(1).Text(), "OFFSET  DAC  LOADED");
    EXPECT_GT(rig.dialogs.beeps, beeps_before);
    EXPECT_FALSE(rig.form.TestGo);
  }
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_FALSE(rig.form.NeedReset);

  // A board that does not answer is not reported as loaded.
  BoardFaults silent;
  silent.run_mode_answer_limit = 0;
  rig.board.SetFaults(silent);
  rig.form.txtOfstDAC.SetText("5");
  const int beeps_before = rig.dialogs.beeps;
  rig.form.cmdODAC.Click();
  EXPECT_EQ(rig.form.Panel(1).Text(), "OFFSET  DAC  NOT  LOADED");
  EXPECT_GT(rig.dialogs.beeps, beeps_before);
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

}  // namespace
}  // namespace korvane
