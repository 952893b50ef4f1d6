#include <gtest/gtest.h>

#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

const char* const kFoundAt3 =
    "Korvane  DEMO  BOARD  IS  FOUND  AT  PORT  3  ,  COMMUNICATION  AT  57600 BAUD";

/// Runs a search from `port` with the clock `freq` given (0: measured); returns the port found.
std::int16_t Find(ScenarioRig& rig, std::int16_t port, double& freq) {
  rig.form.PortNumber = port;
  rig.main.discovery().FindBoard(rig.form.PortNumber, freq);
  return rig.form.PortNumber;
}

TEST(DiscoveryScenario, AGivenPortThatFailsLeadsToTheFullSearch) {
  ScenarioRig rig(3);
  std::vector<std::int16_t> port_while_trying;
  rig.on_message = [&] { port_while_trying.push_back(rig.form.PortNumber); };
  double freq = 0;
  EXPECT_EQ(Find(rig, 7, freq), 3);
  ASSERT_GE(port_while_trying.size(), 3u);
  EXPECT_EQ(port_while_trying[0], 7) << "trying the given port";
  EXPECT_EQ(port_while_trying[1], 0) << "PortNumber reads 0 during the search";
  EXPECT_TRUE(rig.Showed(kFoundAt3));
  EXPECT_EQ(rig.board.ReceivedCommands().front().text, "\r");
}

TEST(DiscoveryScenario, NoBoardOrGarbageOnAll256PortsTakesAboutElevenMinutes) {
  for (const bool garbage : {false, true}) {
    SCOPED_TRACE(garbage);
    ScenarioRig rig(garbage ? 1 : SimulatedSerialPort::kNoBoard,
                    {.faults = {.garbage_answers = garbage}});
    rig.form.Sound = false;
    double freq = 0;
    EXPECT_EQ(Find(rig, garbage ? 1 : 0, freq), 0) << "every port was tried";
    EXPECT_EQ(rig.form.Panel(1).Text(), "TRYING  SERIAL  PORT  256  ");
    EXPECT_EQ(rig.Messages().size(), 256u);
    EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});
    // 40 + 40 + 400 + 500, then twice 40 + 300 + 500 ms per port.
    EXPECT_NEAR(static_cast<double>(rig.time.NowMs()) / 60000.0, 256 * 2.66 / 60, 0.05);
    EXPECT_EQ(rig.form.BaudRate + std::to_string(rig.form.prgProgress.Value()), "0");
  }
}

TEST(DiscoveryScenario, ClockCommandsClampTheClockText) {
  const struct {
    const char *typed, *shown, *command;
  } cases[] = {{"30", "24", "RWFB17"},
               {"abc", "1", "RWFCE8"},
               {"11.0592", "11.0592", "RWFD2A"},
               {"&H18", nullptr, "RWFB17"},
               {"1e308", "24", "RWFB17"}};
  ScenarioRig rig(1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    rig.form.txtFreq.SetText(c.typed);
    rig.main.discovery().MakeClockCmds();
    if (c.shown) {
      EXPECT_EQ(rig.form.txtFreq.Text(), c.shown);
    }
    EXPECT_NE((rig.form.ClkCmdFB + rig.form.ClkCmdFC + rig.form.ClkCmdFD).find(c.command),
              std::string::npos);
  }
}

}  // namespace
}  // namespace korvane
