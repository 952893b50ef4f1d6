#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

const char* const kFinished = "ADC  CONVERSION  IS  FINISHED ";

/// Clicks "Run &ADC"; `during` runs once the run has begun.
void RunWith(ScenarioRig& rig, std::function<void()> during) {
  rig.on_message = [&rig, during = std::move(during)] {
    if (rig.form.Panel(1).Text() == "GETTING  ADC  CODE ") during();
  };
  rig.form.cmdCntr[2].Click();
}

TEST(CommandButtonsScenario, SetAdcButtonWritesTheRegistersWithTheButtonsDisabled) {
  ScenarioRig rig(1);
  rig.Start();
  rig.form.optRef[2].SetValue(true);
  rig.form.optPolarity[1].SetValue(true);
  rig.form.cmdGainChange[0].Click();  // gain 128
  std::string while_setting;
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text() == "SET ADC ENVIRONMENT ") while_setting = rig.Buttons();
  };

  rig.form.cmdCntr[1].Click();

  EXPECT_EQ(while_setting.substr(0, 3), "---");
  EXPECT_EQ(rig.Buttons(), ScenarioRig::kIdle);
  EXPECT_EQ(rig.form.Panel(3).Text(), "FSR = 0.009765625V");
  EXPECT_EQ(rig.form.Panel(1).Text(), "Korvane ADC IS SET");
  EXPECT_FALSE(rig.form.AdcNotSet);
  EXPECT_EQ(rig.Commands(BoardMode::kRunning), "RWFB0A RWF604 RWD788 RWDE80 RWDF07 RWDC27 RWDD71");

  rig.form.optRef[0].SetValue(true);
  rig.form.cmdCntr[1].Click();
  EXPECT_EQ(rig.form.Panel(3).Text(), "FSR = 0V") << "external reference";
}

TEST(RunControlScenario, RunAndStopGoThroughTheButtonStates) {
  ScenarioRig rig(1);
  rig.Start();
  rig.form.NeedReset = true;
  std::vector<std::string> states;
  RunWith(rig, [&] {
    states.push_back(rig.Buttons());
    rig.time.Schedule(Millis{3000}, [&] {
      rig.form.cmdCntr[2].Click();  // "Stop &ADC", nested inside the run
      states.push_back(rig.Buttons());
    });
  });

  // RESET comes back at once, the caption when the run has ended.
  EXPECT_EQ(states, (std::vector<std::string>{"--+- &Load Korvane|Stop &ADC",
                                              "--++ &Load Korvane|Stop &ADC"}));
  EXPECT_EQ(rig.Buttons(), ScenarioRig::kIdle);
  EXPECT_FALSE(rig.form.NeedReset) << "the run reset the board first";
  EXPECT_TRUE(rig.Showed("SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET"));
  EXPECT_TRUE(rig.Showed("Korvane ADC IS SET"));
  EXPECT_EQ(rig.form.Panel(1).Text(), kFinished);
  EXPECT_EQ(rig.form.Panel(3).Text(), "FSR = 5V");
  EXPECT_EQ(rig.board.ReceivedCommands().back().text, "\r") << "the stream was ended";
  EXPECT_EQ(rig.form.lblRazmernst.Caption(), "V");
  EXPECT_TRUE(rig.form.linSep[0].Visible());
}

TEST(RunControlScenario, LoadDacOrResetDuringARunFollowsTheEndOfTheStream) {
  const struct {
    const char* name;
    std::function<void(Form&)> click;
    std::string last_command, last_message;
    int dac_register = 0x8C;
  } cases[] = {{"Load DAC", [](Form& f) { f.cmdODAC.Click(); }, "RWE68C", "OFFSET  DAC  LOADED"},
               {"Stop, then RESET at once",
                [](Form& f) {
                  f.cmdCntr[2].Click();
                  f.cmdReset.Click();  // enabled again by the stop click
                },
                "H1", "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET", 0x80}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScenarioRig rig(1);
    rig.Start();
    rig.form.txtOfstDAC.SetText("12");
    RunWith(rig, [&] { rig.time.Schedule(Millis{3000}, [&] { c.click(rig.form); }); });

    const auto commands = rig.Commands(BoardMode::kRunning);
    EXPECT_NE(commands.find("U3 CR"), std::string::npos) << "the stream ends before all else";
    EXPECT_TRUE(commands.ends_with(" " + c.last_command)) << commands;
    EXPECT_EQ(rig.form.Panel(1).Text(), c.last_message);
    EXPECT_TRUE(rig.Showed(kFinished));
    EXPECT_EQ(rig.board.Sfr(0xE6), c.dac_register);
    EXPECT_EQ(rig.Buttons(), ScenarioRig::kIdle);
  }
}

TEST(RunControlScenario, TheRunsLastPromptAnswersNoLaterCommand) {
  ScenarioRig rig(1);
  rig.Start();
  rig.time.Schedule(Millis{3000}, [&] { rig.form.cmdCntr[2].Click(); });
  rig.form.cmdCntr[2].Click();
  rig.time.Advance(Millis{100});
  EXPECT_EQ(rig.port.TakeInput(), "") << "the run took the board's answer to its end";
  rig.board.SetFaults({.run_mode_answer_limit = 6});  // the seventh write, RWDD, gets no "]"

  rig.form.cmdCntr[1].Click();

  EXPECT_EQ(rig.form.Panel(1).Text(), "ERROR ADC SET");
  EXPECT_TRUE(rig.form.NeedReset);
}

}  // namespace
}  // namespace korvane
