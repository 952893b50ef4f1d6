#include <gtest/gtest.h>

#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

TEST(CommandButtonsScenario, SetAdcButtonWritesTheRegistersWithTheButtonsDisabled) {
  ScenarioRig rig(1);
  rig.main.Form_Load();
  rig.board.ClearReceivedCommands();
  rig.form.optRef[2].SetValue(true);
  rig.form.optPolarity[1].SetValue(true);
  rig.form.cmdGainChange[0].Click();  // gain 128
  bool all_disabled = false;
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text() == "SET ADC ENVIRONMENT ") {
      all_disabled = !rig.form.cmdCntr[0].Enabled() && !rig.form.cmdCntr[1].Enabled() &&
                     !rig.form.cmdCntr[2].Enabled();
    }
  };

  rig.form.cmdCntr[1].Click();

  EXPECT_TRUE(all_disabled);
  for (const auto& button : rig.form.cmdCntr) EXPECT_TRUE(button.Enabled());
  EXPECT_EQ(rig.form.Panel(3).Text(), "FSR = 0.009765625V");
  EXPECT_EQ(rig.form.Panel(1).Text(), "Korvane ADC IS SET");
  EXPECT_FALSE(rig.form.AdcNotSet);
  ASSERT_EQ(rig.board.ReceivedCommands().size(), 7u);
  EXPECT_EQ(rig.board.ReceivedCommands().back().text, "RWDD71");

  rig.form.optRef[0].SetValue(true);
  rig.form.cmdCntr[1].Click();
  EXPECT_EQ(rig.form.Panel(3).Text(), "FSR = 0V") << "external reference";
}

}  // namespace
}  // namespace korvane
