#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

const std::vector<std::string> kStartUpCommands{"RWFB01", "RWF600", "RWD788", "RWDE80",
                                                "RWDF07", "RWDC30", "RWDD31"};

BoardOptions BoardAt1843200Hz() {
  BoardOptions options;
  options.clock_mhz = 1.8432;
  return options;
}

/// Start-up, which ends with the board program running after its reset; the board then forgets
/// the commands of start-up.
void StartWithBoardProgram(ScenarioRig& rig) {
  rig.main.Form_Load();
  ASSERT_EQ(rig.board.Mode(), BoardMode::kRunning);
  rig.board.ClearReceivedCommands();
}

/// Commands the board program took, oldest first.
std::vector<std::string> RunCommands(const ScenarioRig& rig) {
  std::vector<std::string> commands;
  for (const auto& command : rig.board.ReceivedCommands()) {
    if (command.mode == BoardMode::kRunning) commands.push_back(command.text);
  }
  return commands;
}

TEST(AdcSetupScenario, StartUpSettingsWriteTheSevenRegisters) {
  ScenarioRig rig(1, BoardAt1843200Hz());
  StartWithBoardProgram(rig);
  EXPECT_TRUE(rig.form.AdcNotSet);
  rig.form.RunState = 1;
  const std::size_t messages_before = rig.Messages().size();

  rig.main.adc_setup().SetADC();

  EXPECT_EQ(RunCommands(rig), kStartUpCommands);
  EXPECT_EQ(rig.form.txtFreq.Text(), "1.8432");
  EXPECT_EQ(rig.form.txtAClock.Text(), "0");
  EXPECT_EQ(rig.form.txtFMod.Text(), "28.8");
  EXPECT_EQ(rig.form.txtFdata.Text(), "15");
  EXPECT_EQ(rig.form.txtTdata.Text(), "66.667");
  EXPECT_EQ(rig.form.ClockMHz, 1.8432);
  EXPECT_EQ(rig.form.RefVolts, 2.5);
  EXPECT_DOUBLE_EQ(rig.form.VoltsPerCode, 5.0 / 16777215.0);
  EXPECT_FALSE(rig.form.AdcNotSet);
  EXPECT_FALSE(rig.form.NeedReset);
  EXPECT_EQ(rig.form.RunState, 0);
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(std::vector<std::string>(rig.Messages().begin() + static_cast<long>(messages_before),
                                     rig.Messages().end()),
            (std::vector<std::string>{"SET ADC ENVIRONMENT ", "Korvane ADC IS SET"}));
}

TEST(AdcSetupScenario, ABoardThatStopsAnsweringGetsNoFurtherWrites) {
  for (int answers = 0; answers < 7; ++answers) {
    SCOPED_TRACE(answers);
    ScenarioRig rig(1, BoardAt1843200Hz());
    StartWithBoardProgram(rig);
    BoardFaults faults;
    faults.run_mode_answer_limit = answers;
    rig.board.SetFaults(faults);

    rig.main.adc_setup().SetADC();

    // The write after the last answer reached the line but found no listener; none came after.
    std::string expected_sent;
    for (int i = 0; i <= answers; ++i)
      expected_sent += kStartUpCommands[static_cast<std::size_t>(i)];
    EXPECT_NE(rig.Sent().find(expected_sent), std::string::npos);
    if (answers < 6) {
      const auto& never = kStartUpCommands[static_cast<std::size_t>(answers + 1)];
      EXPECT_EQ(rig.Sent().find(never), std::string::npos) << never;
    }
    EXPECT_EQ(RunCommands(rig).size(), static_cast<std::size_t>(answers));
    EXPECT_EQ(rig.form.Panel(1).Text(), "ERROR ADC SET");
    EXPECT_TRUE(rig.form.NeedReset);
    EXPECT_TRUE(rig.form.AdcNotSet) << "left as it was";
    EXPECT_TRUE(rig.dialogs.messages.empty());
  }

  // After a successful set-up, a failed one leaves the flag cleared as it was.
  ScenarioRig rig(1, BoardAt1843200Hz());
  StartWithBoardProgram(rig);
  rig.main.adc_setup().SetADC();
  ASSERT_FALSE(rig.form.AdcNotSet);
  BoardFaults faults;
  faults.run_mode_answer_limit = 3;
  rig.board.SetFaults(faults);
  rig.main.adc_setup().SetADC();
  EXPECT_EQ(rig.form.Panel(1).Text(), "ERROR ADC SET");
  EXPECT_TRUE(rig.form.NeedReset);
  EXPECT_FALSE(rig.form.AdcNotSet);
}

TEST(AdcSetupScenario, RefusedInputSendsNothing) {
  const std::vector<std::string> refused{"2048",  "0",     "",           "abc",
                                         "-1920", "1e999", "4294969216", "2047.5"};
  for (const std::string& decimation : refused) {
    SCOPED_TRACE(decimation);
    ScenarioRig rig(1, BoardAt1843200Hz());
    StartWithBoardProgram(rig);
    rig.form.txtFreq.SetText("40");
    rig.form.txtAClock.SetText("-3");
    rig.form.txtDecimation.SetText(decimation);
    rig.form.AdcNotSet = false;
    const std::size_t messages_before = rig.Messages().size();

    rig.main.adc_setup().SetADC();

    EXPECT_TRUE(RunCommands(rig).empty());
    EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{"Wrong Decimation Ratio."});
    EXPECT_EQ(rig.dialogs.messages.front().icon, MessageIcon::kCritical);
    EXPECT_EQ(std::vector<std::string>(rig.Messages().begin() + static_cast<long>(messages_before),
                                       rig.Messages().end()),
              (std::vector<std::string>{"PLEASE RECHECK INPUT DATA", "ERROR"}));
    EXPECT_TRUE(rig.form.AdcNotSet);
    EXPECT_FALSE(rig.form.NeedReset);
    // Boxes before the failing check are rewritten, the later ones keep their texts.
    EXPECT_EQ(rig.form.txtFreq.Text(), "32");
    EXPECT_EQ(rig.form.txtAClock.Text(), "0");
    EXPECT_EQ(rig.form.txtFMod.Text(), "500");
    EXPECT_EQ(rig.form.txtFdata.Text(), "?");
    EXPECT_EQ(rig.form.txtTdata.Text(), "?");
  }
}

TEST(AdcSetupScenario, ClockAndDividerBoxesAreClampedAndRewritten) {
  struct Case {
    std::string freq, aclock;
    std::string shown_freq, shown_aclock;
    int fb, f6;
  };
  const std::vector<Case> cases{
      {"0.5", "127.6", "1", "128", 0x00, 0x80},
      {"40", "-3", "32", "0", 0x1F, 0x00},
      {"&H1F", "1e999", "31", "128", 0x1E, 0x80},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.freq + " / " + c.aclock);
    ScenarioRig rig(1, BoardAt1843200Hz());
    StartWithBoardProgram(rig);
    rig.form.txtFreq.SetText(c.freq);
    rig.form.txtAClock.SetText(c.aclock);
    rig.main.adc_setup().SetADC();
    EXPECT_EQ(rig.form.txtFreq.Text(), c.shown_freq);
    EXPECT_EQ(rig.form.txtAClock.Text(), c.shown_aclock);
    EXPECT_EQ(rig.board.Sfr(0xFB), c.fb);
    EXPECT_EQ(rig.board.Sfr(0xF6), c.f6);
    EXPECT_FALSE(rig.form.AdcNotSet);
    EXPECT_TRUE(rig.dialogs.messages.empty());
  }

  // A rewritten box is an edit of the box and stops a run; an unchanged one is not.
  ScenarioRig rig(1, BoardAt1843200Hz());
  StartWithBoardProgram(rig);
  rig.main.adc_setup().SetADC();
  rig.form.TestGo = true;
  rig.main.adc_setup().SetADC();
  EXPECT_TRUE(rig.form.TestGo);
  rig.form.txtAClock.SetText("200");
  rig.form.TestGo = true;
  rig.main.adc_setup().SetADC();
  EXPECT_FALSE(rig.form.TestGo);
}

TEST(AdcSetupScenario, PanelChoicesReachTheRegisters) {
  ScenarioRig rig(1, BoardAt1843200Hz());
  StartWithBoardProgram(rig);
  rig.form.optPolarity[1].SetValue(true);
  rig.form.optRef[2].SetValue(true);
  rig.main.adc_setup().SetADC();
  EXPECT_EQ(rig.board.Sfr(0xDD), 0x71) << "Unipolar sets bit 6";
  EXPECT_EQ(rig.board.Sfr(0xDC), 0x20);
  EXPECT_EQ(rig.form.RefVolts, 1.25);
  EXPECT_DOUBLE_EQ(rig.form.VoltsPerCode, 1.25 / 16777215.0);

  rig.form.optPolarity[0].SetValue(true);
  rig.form.optRef[0].SetValue(true);
  rig.form.cboFilter.SetListIndex(0);
  rig.form.cboCalibr.SetListIndex(5);
  rig.form.optADCinput[1].SetValue(true);
  rig.main.adc_setup().SetADC();
  EXPECT_EQ(rig.board.Sfr(0xDD), 0x05);
  EXPECT_EQ(rig.board.Sfr(0xDC), 0x00) << "Ext reference";
  EXPECT_EQ(rig.form.RefVolts, 2.5);
  EXPECT_DOUBLE_EQ(rig.form.VoltsPerCode, 5.0 / 16777215.0);
  EXPECT_EQ(rig.board.Sfr(0xD7), 0xFF) << "temperature diode on both inputs";

  // Largest DC: gain 128, buffer, 2.5 V, burn-out detection, auto-zero.
  rig.form.cmdGainChange[0].Click();
  rig.form.chkBuffer.SetValue(1);
  rig.form.optRef[1].SetValue(true);
  rig.form.chkBOD.SetValue(1);
  rig.form.chkAutoZero.SetValue(1);
  rig.form.cmdChanelMinusPlus[1].Click();  // AINCOM -> DIODE
  rig.form.cmdChanelMinusPlus[2].Click();  // AINCOM -> AIN7
  rig.form.txtDecimation.SetText("2047");
  rig.main.adc_setup().SetADC();
  const std::vector<std::string> commands = RunCommands(rig);
  ASSERT_GE(commands.size(), 7u);
  EXPECT_EQ(std::vector<std::string>(commands.end() - 7, commands.end()),
            (std::vector<std::string>{"RWFB01", "RWF600", "RWD7F7", "RWDEFF", "RWDF07", "RWDCFF",
                                      "RWDD05"}));
  EXPECT_EQ(rig.form.txtFdata.Text(), "14.069");
  EXPECT_EQ(rig.form.txtTdata.Text(), "71.076");
}

TEST(AdcSetupScenario, ASettingChangedDuringTheWritesLeavesTheChipMarkedNotSet) {
  ScenarioRig rig(1, BoardAt1843200Hz());
  StartWithBoardProgram(rig);
  bool clicked = false;
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text() != "SET ADC ENVIRONMENT " || clicked) return;
    clicked = true;
    rig.time.Schedule(Millis{5}, [&] { rig.form.cmdGainChange[1].Click(); });
  };

  rig.main.adc_setup().SetADC();

  ASSERT_TRUE(clicked);
  EXPECT_EQ(rig.form.PgaGainExp, 1);
  EXPECT_EQ(rig.board.Sfr(0xDC), 0x30) << "the gain changed after the commands were built";
  EXPECT_EQ(rig.form.Panel(1).Text(), "Korvane ADC IS SET");
  EXPECT_TRUE(rig.form.AdcNotSet) << "the chip does not hold the new gain";

  rig.main.adc_setup().SetADC();
  EXPECT_EQ(rig.board.Sfr(0xDC), 0x31);
  EXPECT_FALSE(rig.form.AdcNotSet);
}

}  // namespace
}  // namespace korvane
