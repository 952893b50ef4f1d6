#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

const char* const kResetStarted3 = "SERIAL PORT 3 AT BAUD  57600, and Korvane  RESET STARTED  ";
const char* const kIsReset3 = "SERIAL PORT 3 AT  57600 BAUD, AND  Korvane  IS  RESET";
const char* const kIsReset1 = "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET";

/// Started on port 3; the window's graph and buffer then hold a made-up block.
void StartAndFillGraph(ScenarioRig& rig) {
  rig.process.command_line = "3";
  rig.Start();
  ASSERT_EQ(rig.form.Panel(1).Text(), kIsReset3);
  rig.adc_graph.SetPointCount(100);
  for (int i = 0; i < 100; ++i) rig.adc_graph.SetPointY(0, i, 0.5f);
  rig.form.Samples[7] = 1234;
  rig.form.txtOfstDAC.SetText("55");
}

int Count(const std::string& text, const std::string& word) {
  int count = 0;
  for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
  return count;
}

TEST(ResetScenario, ResetRestartsTheProgramWithItsClockRegistersAndClearsTheGraph) {
  ScenarioRig rig(3);
  StartAndFillGraph(rig);
  rig.form.TestGo = true;
  rig.form.AdcNotSet = false;
  std::string while_resetting;
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text() == kResetStarted3) {
      while_resetting = rig.Buttons() + (rig.form.fraADCset.Enabled() ? " frame" : "");
    }
  };
  const auto started = rig.time.Now();

  rig.form.cmdReset.Click();

  EXPECT_EQ(while_resetting, "---- &Load Korvane|Run &ADC");
  EXPECT_EQ(rig.Buttons(), ScenarioRig::kIdle);
  EXPECT_TRUE(rig.form.fraADCset.Enabled());
  EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});
  EXPECT_FALSE(rig.form.TestGo || rig.form.PrgmGo);
  EXPECT_TRUE(rig.form.AdcNotSet);
  EXPECT_EQ(rig.form.txtOfstDAC.Text(), "0");
  EXPECT_EQ(rig.form.prgProgress.Value(), 0);
  EXPECT_EQ(rig.MessagesFrom(rig.Messages().size() - 2),
            std::string(kResetStarted3) + " | " + kIsReset3);
  EXPECT_EQ(rig.Commands(BoardMode::kRunning), "CR RWFB0A RWFCF8 RWFD2A RWEF34 RWFE63 H1");
  const auto& commands = rig.board.ReceivedCommands();
  ASSERT_GE(commands.size(), 3u);
  EXPECT_GE(commands.end()[-2].time - commands.end()[-3].time, Millis{500}) << "pause before FE";
  EXPECT_GE(commands.end()[-1].time - commands.end()[-2].time, Millis{500}) << "pause before H1";
  EXPECT_GE(rig.time.Now() - started, Millis{2280}) << "the fixed pauses of a reset";
  EXPECT_EQ(rig.port.PortSettings(), "57600,N,8,1");

  EXPECT_EQ(rig.adc_graph.ys, std::vector<float>(5000, 0.0f));
  std::vector<float> xs(5000);
  for (int i = 0; i < 5000; ++i) xs[static_cast<std::size_t>(i)] = static_cast<float>(i);
  EXPECT_EQ(rig.adc_graph.xs, xs);
  for (const auto sample : rig.form.Samples) ASSERT_EQ(sample, 0);
  EXPECT_EQ(rig.adc_graph.plotting_method * 100 + rig.histo.plotting_method, 810);
}

TEST(ResetScenario, FailedLoadsKeepTheLoadersText) {
  const struct {
    std::optional<int> prog_mode_answers;
    std::optional<int> corrupted_hex_line;
    std::string panel;
  } cases[] = {
      {0, std::nullopt, "Korvane  PROG_RESET  FAILED"},
      {std::nullopt, 3, "HEX  FILE  LINE  3  CHECKSUM  ERROR"},
      {std::nullopt, 21, "HEX  FILE  LINE  21  CHECKSUM  ERROR"},  // the end record
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.panel);
    ScenarioRig rig(3);
    StartAndFillGraph(rig);
    rig.hex_folder.WriteProgram(300);
    rig.board.Memory().EraseFlash();
    rig.board.SetFaults({.prog_mode_answer_limit = c.prog_mode_answers,
                         .corrupted_hex_line = c.corrupted_hex_line});
    rig.form.cmdReset.Click();
    EXPECT_EQ(rig.form.Panel(1).Text(), c.panel);
    EXPECT_TRUE(rig.form.cmdReset.Enabled());
  }
}

TEST(ResetScenario, AProgramThatAnsweredSinceItsLoadIsLoadedAgainWhenItIsGone) {
  ScenarioRig rig(1, {.program_loaded = false});
  rig.hex_folder.WriteProgram(300);
  rig.main.Form_Load();
  ASSERT_EQ(rig.form.Panel(1).Text(), kIsReset1);
  rig.board.Memory().EraseFlash();
  rig.form.cmdReset.Click();
  EXPECT_EQ(rig.form.Panel(1).Text(), kIsReset1);
  EXPECT_EQ(Count(rig.Commands(BoardMode::kProgramming), "M0000"), 2);
}

}  // namespace
}  // namespace korvane
