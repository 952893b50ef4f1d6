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

TEST(DiscoveryScenario, BoardOnTheGivenPortIsMeasuredAndProgrammed) {
  ScenarioRig rig(3);
  double freq = 0;
  EXPECT_EQ(Find(rig, 3, freq), 3);
  EXPECT_EQ(freq, 11.0592);
  EXPECT_EQ(rig.form.txtFreq.Text() + " " + rig.form.txtAClock.Text() + " " + rig.form.BaudRate +
                " " + rig.form.ReloadHi + rig.form.ReloadLo,
            "11.0592 4 57600 FFFA");
  EXPECT_EQ(rig.Messages().front(), "TRYING  SERIAL  PORT  3  ");
  EXPECT_TRUE(rig.MessagesFrom(0).ends_with(
      std::string(kFoundAt3) +
      " | SERIAL PORT 3 AT BAUD  57600, and Korvane  RESET STARTED   | "
      "SERIAL PORT 3 AT  57600 BAUD, AND  Korvane  IS  RESET"));
  EXPECT_EQ(rig.form.Panel(4).Text(), "COM3: 57600 Baud");
  EXPECT_EQ(rig.form.prgProgress.Value(), 0);
  EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});
  EXPECT_EQ(rig.Commands(BoardMode::kProgramming),
            "RRCA RRCB RWFB0A RWFCF8 RWFD2A RWEF34 RWFE63 CP8000 CW80104A CW8011FA CW80124B "
            "CW8013FF");
  EXPECT_EQ(rig.board.Memory().ConfigByte(0x8011), 0xFA);
  EXPECT_EQ(rig.board.Memory().ConfigByte(0x8013), 0xFF);
  EXPECT_EQ(rig.port.PortSettings(), "57600,N,8,1") << "the reset reopened at the new speed";
  EXPECT_EQ(rig.board.Mode(), BoardMode::kRunning);
  EXPECT_EQ(rig.board.UartBitRate(), 57600);
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

TEST(DiscoveryScenario, ABoardThatAnswersTheSecondAttemptIsAcceptedWithoutABeep) {
  ScenarioRig rig(1, {.faults = {.ignored_bit_rate_crs = 1}});
  int beeps_before_found = -1;
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text().rfind("Korvane  DEMO  BOARD  IS  FOUND", 0) == 0 &&
        beeps_before_found < 0) {
      beeps_before_found = rig.dialogs.beeps;
    }
  };
  double freq = 0;
  EXPECT_EQ(Find(rig, 1, freq), 1);
  EXPECT_EQ(beeps_before_found, 0);
  EXPECT_EQ(rig.form.BaudRate, "57600");
}

TEST(DiscoveryScenario, EachUnansweredCommandEndsWithItsMessages) {
  const struct {
    int answers;  // answers the programming mode gives before it falls silent
    double given_clock;
    std::string box;
    std::string last_sent;
  } cases[] = {
      {1, 0, "Part doesn't respond RRCA", "\rRRCA"},
      {2, 0, "Part doesn't respond RRCB", "RRCB"},
      {1, 11.0592, " Error performing serial port command <RWFB0A>.", "\rRWFB0A"},
      {4, 11.0592, " Error performing serial port command <RWEF34>.", "RWFD2ARWEF34"},
      {6, 11.0592, " Error performing serial port command <CP8000>.", "RWFE63CP8000"},
      {8, 11.0592, " Error performing serial port command <CW8011FA>.", "CW80104ACW8011FA"},
      {10, 11.0592, " Error performing serial port command <CW8013FF>.", "CW80124BCW8013FF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    ScenarioRig rig(1, {.faults = {.prog_mode_answer_limit = c.answers}});
    double freq = c.given_clock;
    Find(rig, 1, freq);
    EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{c.box});
    EXPECT_EQ(rig.form.Panel(1).Text(), "CANNOT  PROGRAM  Korvane  COMMUNICATION  SPEED");
    EXPECT_TRUE(rig.port.IsPortOpen());
    EXPECT_EQ(rig.form.Panel(4).Text(), "") << "no port settings shown";
    EXPECT_EQ(rig.dialogs.messages.front().icon,
              c.given_clock > 0 ? MessageIcon::kCritical : MessageIcon::kNone);
    EXPECT_TRUE(rig.Sent().ends_with(c.last_sent)) << "nothing after the failed command";
  }
}

TEST(DiscoveryScenario, AClockWithoutAFittingSpeed) {
  ScenarioRig rig(1);
  double freq = 0.1;
  Find(rig, 1, freq);
  EXPECT_EQ(rig.form.Panel(1).Text(), "CANNOT  FIND  BAUD  RATE  FOR  THIS  CLOCK  FREQUENCY");
  EXPECT_EQ(rig.dialogs.Texts(),
            std::vector<std::string>{"Cannot find fitting comunication baud rate\r\nfor existing "
                                     "device clock frequency.\r\nTry to change Korvane clock "
                                     "frequency."});
  EXPECT_EQ(rig.dialogs.messages[0].icon, MessageIcon::kCritical);
  EXPECT_EQ(rig.form.txtFreq.Text() + " " + rig.form.txtAClock.Text(), "0.1 -1");
  EXPECT_EQ(rig.Commands(BoardMode::kProgramming), "") << "a given clock is not measured";
  EXPECT_EQ(freq, 0.1);
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
