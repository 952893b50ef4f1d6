#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

const std::vector<std::string> kStartUpCommands{"RWFB01", "RWF600", "RWD788", "RWDE80",
                                                "RWDF07", "RWDC30", "RWDD31"};

/// Started on a board clocked at 1.8432 MHz.
struct SlowBoard : ScenarioRig {
  SlowBoard() : ScenarioRig(1, {.clock_mhz = 1.8432}) { Start(); }
  void SetAdc() { main.adc_setup().SetADC(); }
  /// Clock, divider, modulator frequency, data rate and period boxes.
  std::string Boxes() const {
    return form.txtFreq.Text() + " " + form.txtAClock.Text() + " " + form.txtFMod.Text() + " " +
           form.txtFdata.Text() + " " + form.txtTdata.Text();
  }
};

TEST(AdcSetupScenario, StartUpSettingsWriteTheSevenRegisters) {
  SlowBoard rig;
  EXPECT_TRUE(rig.form.AdcNotSet);
  rig.form.RunState = 1;
  const std::size_t messages_before = rig.Messages().size();

  rig.SetAdc();

  EXPECT_EQ(rig.Commands(BoardMode::kRunning), "RWFB01 RWF600 RWD788 RWDE80 RWDF07 RWDC30 RWDD31");
  EXPECT_EQ(rig.Boxes(), "1.8432 0 28.8 15 66.667");
  EXPECT_EQ(rig.form.ClockMHz, 1.8432);
  EXPECT_EQ(rig.form.RefVolts, 2.5);
  EXPECT_DOUBLE_EQ(rig.form.VoltsPerCode, 5.0 / 16777215.0);
  EXPECT_FALSE(rig.form.AdcNotSet || rig.form.NeedReset);
  EXPECT_EQ(rig.form.RunState, 0);
  EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});
  EXPECT_EQ(rig.MessagesFrom(messages_before), "SET ADC ENVIRONMENT  | Korvane ADC IS SET");
}

TEST(AdcSetupScenario, ABoardThatStopsAnsweringGetsNoFurtherWrites) {
  for (int answers = 0; answers < 7; ++answers) {
    SCOPED_TRACE(answers);
    SlowBoard rig;
    rig.board.SetFaults({.run_mode_answer_limit = answers});

    rig.SetAdc();

    // The write after the last answer reached the line but found no listener; none came after.
    std::string expected_sent;
    for (int i = 0; i <= answers; ++i) expected_sent += kStartUpCommands[i];
    EXPECT_TRUE(rig.Sent().ends_with(expected_sent));
    EXPECT_EQ(rig.board.ReceivedCommands().size(), static_cast<std::size_t>(answers));
    EXPECT_EQ(rig.form.Panel(1).Text(), "ERROR ADC SET");
    EXPECT_TRUE(rig.form.NeedReset);
    EXPECT_TRUE(rig.form.AdcNotSet) << "left as it was";
    EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});
  }

  // After a successful set-up, a failed one leaves the flag cleared as it was.
  SlowBoard rig;
  rig.SetAdc();
  ASSERT_FALSE(rig.form.AdcNotSet);
  rig.board.SetFaults({.run_mode_answer_limit = 3});
  rig.SetAdc();
  EXPECT_EQ(rig.form.Panel(1).Text(), "ERROR ADC SET");
  EXPECT_TRUE(rig.form.NeedReset);
  EXPECT_FALSE(rig.form.AdcNotSet);
}

TEST(AdcSetupScenario, RefusedInputSendsNothing) {
  for (const std::string decimation :
       {"2048", "0", "", "abc", "-1920", "1e999", "4294969216", "2047.5"}) {
    SCOPED_TRACE(decimation);
    SlowBoard rig;
    rig.form.txtFreq.SetText("40");
    rig.form.txtAClock.SetText("-3");
    rig.form.txtDecimation.SetText(decimation);
    rig.form.AdcNotSet = false;
    const std::size_t messages_before = rig.Messages().size();

    rig.SetAdc();

    EXPECT_EQ(rig.Commands(BoardMode::kRunning), "");
    EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{"Wrong Decimation Ratio."});
    EXPECT_EQ(rig.dialogs.messages.front().icon, MessageIcon::kCritical);
    EXPECT_EQ(rig.MessagesFrom(messages_before), "PLEASE RECHECK INPUT DATA | ERROR");
    EXPECT_TRUE(rig.form.AdcNotSet);
    EXPECT_FALSE(rig.form.NeedReset);
    EXPECT_EQ(rig.Boxes(), "32 0 500 ? ?") << "boxes after the failing check keep their texts";
  }
}

TEST(AdcSetupScenario, ClockAndDividerBoxesAreClampedAndRewritten) {
  const struct {
    std::string freq, aclock, shown;
    int fb, f6;
  } cases[] = {
      {"0.5", "127.6", "1 128", 0x00, 0x80},
      {"40", "-3", "32 0", 0x1F, 0x00},
      {"&H1F", "1e999", "31 128", 0x1E, 0x80},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.freq + " / " + c.aclock);
    SlowBoard rig;
    rig.form.txtFreq.SetText(c.freq);
    rig.form.txtAClock.SetText(c.aclock);
    rig.SetAdc();
    EXPECT_EQ(rig.form.txtFreq.Text() + " " + rig.form.txtAClock.Text(), c.shown);
    EXPECT_EQ(rig.board.Sfr(0xFB), c.fb);
    EXPECT_EQ(rig.board.Sfr(0xF6), c.f6);
    EXPECT_FALSE(rig.form.AdcNotSet);
    EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});
  }

  // A rewritten box is an edit of the box and stops a run; an unchanged one is not.
  SlowBoard rig;
  rig.SetAdc();
  rig.form.TestGo = true;
  rig.SetAdc();
  EXPECT_TRUE(rig.form.TestGo);
  rig.form.txtAClock.SetText("200");
  rig.form.TestGo = true;
  rig.SetAdc();
  EXPECT_FALSE(rig.form.TestGo);
}

TEST(AdcSetupScenario, PanelChoicesReachTheRegisters) {
  SlowBoard rig;
  rig.form.optPolarity[1].SetValue(true);
  rig.form.optRef[2].SetValue(true);
  rig.SetAdc();
  EXPECT_EQ(rig.board.Sfr(0xDD), 0x71) << "Unipolar sets bit 6";
  EXPECT_EQ(rig.board.Sfr(0xDC), 0x20);
  EXPECT_EQ(rig.form.RefVolts, 1.25);
  EXPECT_DOUBLE_EQ(rig.form.VoltsPerCode, 1.25 / 16777215.0);

  rig.form.optPolarity[0].SetValue(true);
  rig.form.optRef[0].SetValue(true);
  rig.form.cboFilter.SetListIndex(0);
  rig.form.cboCalibr.SetListIndex(5);
  rig.form.optADCinput[1].SetValue(true);
  rig.SetAdc();
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
  rig.SetAdc();
  EXPECT_TRUE(rig.Commands(BoardMode::kRunning)
                  .ends_with("RWFB01 RWF600 RWD7F7 RWDEFF RWDF07 RWDCFF RWDD05"));
  EXPECT_EQ(rig.Boxes(), "1.8432 0 28.8 14.069 71.076");
}

TEST(AdcSetupScenario, ASettingChangedDuringTheWritesLeavesTheChipMarkedNotSet) {
  SlowBoard rig;
  bool clicked = false;
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text() != "SET ADC ENVIRONMENT " || clicked) return;
    clicked = true;
    rig.time.Schedule(Millis{5}, [&] { rig.form.cmdGainChange[1].Click(); });
  };

  rig.SetAdc();

  ASSERT_TRUE(clicked);
  EXPECT_EQ(rig.form.PgaGainExp, 1);
  EXPECT_EQ(rig.board.Sfr(0xDC), 0x30) << "the gain changed after the commands were built";
  EXPECT_EQ(rig.form.Panel(1).Text(), "Korvane ADC IS SET");
  EXPECT_TRUE(rig.form.AdcNotSet) << "the chip does not hold the new gain";

  rig.SetAdc();
  EXPECT_EQ(rig.board.Sfr(0xDC), 0x31);
  EXPECT_FALSE(rig.form.AdcNotSet);
}

}  // namespace
}  // namespace korvane
