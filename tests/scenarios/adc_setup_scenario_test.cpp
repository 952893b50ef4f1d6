#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

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

}  // namespace
}  // namespace korvane
