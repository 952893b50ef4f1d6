#include <gtest/gtest.h>

#include <algorithm>
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

/// Started, with the graphs ready, and a traffic folder of its own.
void Start(ScenarioRig& rig) {
  rig.main.Form_Load();
  rig.main.command_buttons().SetCaptureFolder(rig.hex_folder.Path());
  rig.dialogs.messages.clear();
}

struct ButtonStates {
  bool load, set, run, reset;
  std::string run_caption;
  bool operator==(const ButtonStates&) const = default;
};

ButtonStates StatesOf(const Form& form) {
  return {form.cmdCntr[0].Enabled(), form.cmdCntr[1].Enabled(), form.cmdCntr[2].Enabled(),
          form.cmdReset.Enabled(), form.cmdCntr[2].Caption()};
}

TEST(RunControlScenario, RunAndStopGoThroughTheButtonStates) {
  ScenarioRig rig(1);
  Start(rig);
  rig.form.NeedReset = true;
  std::vector<ButtonStates> states;
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text() == "GETTING  ADC  CODE ") {
      states.push_back(StatesOf(rig.form));
      rig.time.Schedule(Millis{3000}, [&] {
        states.push_back(StatesOf(rig.form));
        rig.form.cmdCntr[2].Click();  // "Stop &ADC", nested inside the run
        states.push_back(StatesOf(rig.form));
      });
    }
  };

  rig.form.cmdCntr[2].Click();

  ASSERT_EQ(states.size(), 3u);
  EXPECT_EQ(states[0], (ButtonStates{false, false, true, false, "Stop &ADC"})) << "running";
  EXPECT_EQ(states[2], (ButtonStates{false, false, true, true, "Stop &ADC"}))
      << "RESET comes back at once, the caption when the run has ended";
  EXPECT_EQ(StatesOf(rig.form), (ButtonStates{true, true, true, true, "Run &ADC"}));
  EXPECT_FALSE(rig.form.NeedReset) << "the run reset the board first";
  EXPECT_TRUE(rig.Showed("SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET"));
  EXPECT_TRUE(rig.Showed("Korvane ADC IS SET"));
  EXPECT_EQ(rig.form.Panel(1).Text(), "ADC  CONVERSION  IS  FINISHED ");
  EXPECT_EQ(rig.form.Panel(3).Text(), "FSR = 5V");
  EXPECT_EQ(rig.board.ReceivedCommands().back().text, "\r") << "the stream was ended";
  EXPECT_EQ(rig.form.lblRazmernst.Caption(), "V");
  EXPECT_TRUE(rig.form.linSep[0].Visible());
}

TEST(RunControlScenario, TwoFailedSetUpsStartNoRunAndNoCapture) {
  ScenarioRig rig(1);
  Start(rig);
  rig.form.chkLogFile.SetValue(1);
  rig.form.txtDecimation.SetText("0");
  rig.form.NeedReset = true;
  BoardFaults faults;
  faults.run_mode_answer_limit = 1;  // the reset gets its "]" but no clock register answered
  rig.board.SetFaults(faults);

  rig.form.cmdCntr[2].Click();

  EXPECT_EQ(rig.dialogs.Texts(),
            (std::vector<std::string>{"Error during Reset.\r\nMaybe program is not loaded.",
                                      "Wrong Decimation Ratio.", "Wrong Decimation Ratio."}));
  EXPECT_FALSE(rig.form.NeedReset) << "cleared whatever the reset did";
  EXPECT_FALSE(rig.form.TestGo);
  EXPECT_EQ(StatesOf(rig.form), (ButtonStates{true, true, true, true, "Run &ADC"}));
  EXPECT_FALSE(std::filesystem::exists(rig.hex_folder.Path() / "capture.txt"));
  EXPECT_EQ(rig.Sent().find("U3"), std::string::npos);
}

TEST(RunControlScenario, LogFileStartsAFreshCapture) {
  ScenarioRig rig(1);
  Start(rig);
  const auto capture = rig.hex_folder.Path() / "capture.txt";
  {
    std::ofstream old(capture);
    old << "OLD TRAFFIC\n";
  }
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

/// The commands the board took, in order (its replies and the readings left out).
std::vector<std::string> Commands(const ScenarioRig& rig) {
  std::vector<std::string> texts;
  for (const auto& command : rig.board.ReceivedCommands()) texts.push_back(command.text);
  return texts;
}

TEST(RunControlScenario, NoOtherExchangeStartsWhileARunIsPrepared) {
  struct Intrusion {
    const char* name;
    std::function<void(Form&)> click;
  };
  const std::vector<Intrusion> intrusions{
      {"nothing", nullptr},
      {"Run ADC again", [](Form& f) { f.cmdCntr[2].Click(); }},  // it still reads "Run &ADC"
      {"RESET", [](Form& f) { f.cmdReset.Click(); }},
      {"Load DAC", [](Form& f) { f.cmdODAC.Click(); }},
      {"Set ADC", [](Form& f) { f.cmdCntr[1].Click(); }},
      {"Load Korvane", [](Form& f) { f.cmdCntr[0].Click(); }}};
  std::vector<std::string> undisturbed;
  for (const auto& intrusion : intrusions) {
    SCOPED_TRACE(intrusion.name);
    ScenarioRig rig(1);
    Start(rig);
    rig.board.ClearReceivedCommands();
    bool held = false;
    bool clicked = false;
    rig.on_message = [&] {
      const std::string& text = rig.form.Panel(1).Text();
      if (text == "SET ADC ENVIRONMENT " && !clicked) {
        clicked = true;
        held = !rig.form.cmdReset.Enabled() && !rig.form.fraADCset.Enabled();
        if (intrusion.click) intrusion.click(rig.form);
      }
      if (text == "GETTING  ADC  CODE ") {
        EXPECT_TRUE(rig.form.fraADCset.Enabled()) << "a settings change may stop the run";
        rig.time.Schedule(Millis{1000}, [&] { rig.form.cmdCntr[2].Click(); });
      }
    };
    rig.form.cmdCntr[2].Click();

    EXPECT_TRUE(held) << "RESET and the settings frame are disabled while the run is prepared";
    if (undisturbed.empty()) undisturbed = Commands(rig);
    EXPECT_EQ(Commands(rig), undisturbed) << "one preparation, one run, nothing in between";
    EXPECT_TRUE(rig.dialogs.messages.empty());
    EXPECT_EQ(rig.form.Panel(1).Text(), "ADC  CONVERSION  IS  FINISHED ");
    EXPECT_EQ(StatesOf(rig.form), (ButtonStates{true, true, true, true, "Run &ADC"}));
    EXPECT_TRUE(rig.form.fraADCset.Enabled());
  }
}

TEST(RunControlScenario, LoadDacOrResetDuringARunFollowsTheEndOfTheStream) {
  struct Case {
    const char* name;
    std::function<void(Form&)> click;
    std::string last_command;
    std::string last_message;
  };
  const std::vector<Case> cases{
      {"Load DAC", [](Form& f) { f.cmdODAC.Click(); }, "RWE68C", "OFFSET  DAC  LOADED"},
      {"Stop, then RESET at once",
       [](Form& f) {
         f.cmdCntr[2].Click();
         f.cmdReset.Click();  // enabled again by the stop click
       },
       "H1", "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScenarioRig rig(1);
    Start(rig);
    rig.form.txtOfstDAC.SetText("12");
    rig.board.ClearReceivedCommands();
    rig.on_message = [&] {
      if (rig.form.Panel(1).Text() != "GETTING  ADC  CODE ") return;
      rig.time.Schedule(Millis{3000}, [&] { c.click(rig.form); });
    };
    rig.form.cmdCntr[2].Click();

    const auto commands = Commands(rig);
    const auto stream_end = std::find(commands.begin(), commands.end(), "U3") + 1;
    ASSERT_LT(stream_end, commands.end());
    EXPECT_EQ(*stream_end, "\r") << "the stream ends before anything else is sent";
    EXPECT_EQ(commands.back(), c.last_command);
    EXPECT_EQ(rig.form.Panel(1).Text(), c.last_message);
    EXPECT_TRUE(rig.Showed("ADC  CONVERSION  IS  FINISHED "));
    if (c.last_command == "RWE68C") {
      EXPECT_EQ(rig.board.Sfr(0xE6), 0x8C);
    }
    EXPECT_EQ(StatesOf(rig.form), (ButtonStates{true, true, true, true, "Run &ADC"}));
  }
}

TEST(RunControlScenario, TheRunsLastPromptAnswersNoLaterCommand) {
  ScenarioRig rig(1);
  Start(rig);
  rig.time.Schedule(Millis{3000}, [&] { rig.form.cmdCntr[2].Click(); });
  rig.form.cmdCntr[2].Click();
  rig.time.Advance(Millis{100});
  EXPECT_EQ(rig.port.TakeInput(), "") << "the run took the board's answer to its end";
  BoardFaults faults;
  faults.run_mode_answer_limit = 6;  // the seventh register write, RWDD, gets no "]"
  rig.board.SetFaults(faults);

  rig.form.cmdCntr[1].Click();

  EXPECT_EQ(rig.form.Panel(1).Text(), "ERROR ADC SET");
  EXPECT_TRUE(rig.form.NeedReset);
}

TEST(RunControlScenario, SettingsChangeOrDisplayModeClickStopsTheRun) {
  for (const auto change : {0, 1}) {
    ScenarioRig rig(1);
    Start(rig);
    rig.time.Schedule(Millis{5000}, [&] {
      if (change == 0) {
        rig.form.cmdGainChange[1].Click();
      } else {
        rig.form.optDataShow[1].SetValue(true);
      }
    });
    rig.form.cmdCntr[2].Click();
    EXPECT_EQ(rig.form.Panel(1).Text(), "ADC  CONVERSION  IS  FINISHED ") << change;
    EXPECT_EQ(rig.form.cmdCntr[2].Caption(), "Run &ADC");
    EXPECT_FALSE(rig.time.HasScheduled());
  }
}

TEST(RunControlScenario, ClosingTheWindowDuringARunEndsTheProgram) {
  ScenarioRig rig(1);
  Start(rig);
  rig.time.Schedule(Millis{5000}, [&] { rig.main.Form_Unload(); });
  EXPECT_THROW(rig.form.cmdCntr[2].Click(), testing::ProgramEnded);
  EXPECT_TRUE(rig.process.ended);
  EXPECT_FALSE(rig.port.IsPortOpen());
}

}  // namespace
}  // namespace korvane
