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

/// Every command the board took since the start: the program's, then the boot firmware's.
std::string AllCommands(const ScenarioRig& rig) {
  return rig.Commands(BoardMode::kRunning) + " | " + rig.Commands(BoardMode::kProgramming);
}

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

TEST(RunControlScenario, TwoFailedSetUpsStartNoRunAndNoCapture) {
  ScenarioRig rig(1);
  rig.Start();
  rig.form.chkLogFile.SetValue(1);
  rig.form.txtDecimation.SetText("0");
  rig.form.NeedReset = true;
  rig.board.SetFaults({.run_mode_answer_limit = 1});  // the reset's "]", no clock register's

  rig.form.cmdCntr[2].Click();

  EXPECT_EQ(rig.dialogs.Texts(),
            (std::vector<std::string>{"Error during Reset.\r\nMaybe program is not loaded.",
                                      "Wrong Decimation Ratio.", "Wrong Decimation Ratio."}));
  EXPECT_FALSE(rig.form.NeedReset) << "cleared whatever the reset did";
  EXPECT_FALSE(rig.form.TestGo);
  EXPECT_EQ(rig.Buttons(), ScenarioRig::kIdle);
  EXPECT_FALSE(std::filesystem::exists(rig.hex_folder.Path() / "capture.txt"));
  EXPECT_EQ(rig.Sent().find("U3"), std::string::npos);
}

TEST(RunControlScenario, LogFileStartsAFreshCapture) {
  ScenarioRig rig(1);
  rig.Start();
  const auto capture = rig.hex_folder.Path() / "capture.txt";
  std::ofstream(capture) << "OLD TRAFFIC\n";
  rig.form.chkLogFile.SetValue(1);
  rig.form.cboSampling.SetListIndex(2);
  rig.time.Schedule(Millis{5000}, [&] { rig.form.cmdCntr[2].Click(); });
  rig.form.cmdCntr[2].Click();
  rig.port.SetCaptureFile("");  // flush and close, as ending the program does

  std::ifstream in(capture);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text.find("OLD TRAFFIC"), std::string::npos);
  EXPECT_NE(text.find("U3"), std::string::npos) << text;
}

TEST(RunControlScenario, NoOtherExchangeStartsWhileARunIsPrepared) {
  const std::vector<std::pair<const char*, std::function<void(Form&)>>> intrusions{
      {"nothing", [](Form&) {}},
      {"Run ADC again", [](Form& f) { f.cmdCntr[2].Click(); }},  // it still reads "Run &ADC"
      {"RESET", [](Form& f) { f.cmdReset.Click(); }},
      {"Load DAC", [](Form& f) { f.cmdODAC.Click(); }},
      {"Set ADC", [](Form& f) { f.cmdCntr[1].Click(); }},
      {"Load Korvane", [](Form& f) { f.cmdCntr[0].Click(); }}};
  std::string undisturbed;
  for (const auto& [name, click] : intrusions) {
    SCOPED_TRACE(name);
    ScenarioRig rig(1);
    rig.Start();
    std::string held;
    rig.on_message = [&] {
      const std::string& text = rig.form.Panel(1).Text();
      if (text == "SET ADC ENVIRONMENT " && held.empty()) {
        held = rig.Buttons().substr(3, 1) + (rig.form.fraADCset.Enabled() ? "+" : "-");
        click(rig.form);
      }
      if (text == "GETTING  ADC  CODE ") {
        EXPECT_TRUE(rig.form.fraADCset.Enabled()) << "a settings change may stop the run";
        rig.time.Schedule(Millis{1000}, [&] { rig.form.cmdCntr[2].Click(); });
      }
    };
    rig.form.cmdCntr[2].Click();

    EXPECT_EQ(held, "--") << "RESET and the settings frame are disabled while the run is prepared";
    if (undisturbed.empty()) undisturbed = AllCommands(rig);
    EXPECT_EQ(AllCommands(rig), undisturbed) << "one preparation, one run, nothing in between";
    EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});
    EXPECT_EQ(rig.form.Panel(1).Text(), kFinished);
    EXPECT_EQ(rig.Buttons(), ScenarioRig::kIdle);
    EXPECT_TRUE(rig.form.fraADCset.Enabled());
  }
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

TEST(RunControlScenario, SettingsChangeDisplayModeClickOrClosingTheWindowStopsTheRun) {
  for (const int change : {0, 1, 2}) {
    SCOPED_TRACE(change);
    ScenarioRig rig(1);
    rig.Start();
    rig.time.Schedule(Millis{5000}, [&] {
      if (change == 0) rig.form.cmdGainChange[1].Click();
      if (change == 1) rig.form.optDataShow[1].SetValue(true);
      if (change == 2) rig.main.Form_Unload();
    });
    if (change == 2) {
      EXPECT_THROW(rig.form.cmdCntr[2].Click(), testing::ProgramEnded);
      EXPECT_TRUE(rig.process.ended);
      EXPECT_FALSE(rig.port.IsPortOpen());
      continue;
    }
    rig.form.cmdCntr[2].Click();
    EXPECT_EQ(rig.form.Panel(1).Text(), kFinished);
    EXPECT_EQ(rig.form.cmdCntr[2].Caption(), "Run &ADC");
    EXPECT_FALSE(rig.time.HasScheduled());
  }
}

}  // namespace
}  // namespace korvane
