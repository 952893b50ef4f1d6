#include <gtest/gtest.h>

#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

const char* const kFoundAt3 =
    "Korvane  DEMO  BOARD  IS  FOUND  AT  PORT  3  ,  COMMUNICATION  AT  57600 BAUD";

TEST(DiscoveryScenario, BoardOnTheGivenPortIsMeasuredAndProgrammed) {
  ScenarioRig rig(3);
  rig.form.PortNumber = 3;
  double freq = 0;
  rig.main.discovery().FindBoard(rig.form.PortNumber, freq);

  EXPECT_EQ(rig.form.PortNumber, 3);
  EXPECT_EQ(freq, 11.0592);
  EXPECT_EQ(rig.form.txtFreq.Text(), "11.0592");
  EXPECT_EQ(rig.form.txtAClock.Text(), "4");
  EXPECT_EQ(rig.form.BaudRate, "57600");
  EXPECT_EQ(rig.form.ReloadHi, "FF");
  EXPECT_EQ(rig.form.ReloadLo, "FA");
  EXPECT_TRUE(rig.Showed(kFoundAt3));
  EXPECT_EQ(rig.form.Panel(1).Text(), "SERIAL PORT 3 AT  57600 BAUD, AND  Korvane  IS  RESET")
      << "discovery ends with the board reset";
  EXPECT_EQ(rig.form.Panel(4).Text(), "COM3: 57600 Baud");
  EXPECT_EQ(rig.form.prgProgress.Value(), 0);
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(rig.Messages().front(), "TRYING  SERIAL  PORT  3  ");

  const std::vector<std::string> expected{"RRCA",     "RRCB",     "RWFB0A",   "RWFCF8",
                                          "RWFD2A",   "RWEF34",   "RWFE63",   "CP8000",
                                          "CW80104A", "CW8011FA", "CW80124B", "CW8013FF"};
  EXPECT_EQ(rig.ProgrammingCommands(), expected);
  EXPECT_EQ(rig.board.Memory().ConfigByte(0x8011), 0xFA);
  EXPECT_EQ(rig.board.Memory().ConfigByte(0x8013), 0xFF);
  EXPECT_EQ(rig.port.PortSettings(), "57600,N,8,1") << "the reset reopened at the new speed";
  EXPECT_EQ(rig.board.Mode(), BoardMode::kRunning);
  EXPECT_EQ(rig.board.UartBitRate(), 57600);
}

TEST(DiscoveryScenario, AGivenPortThatFailsLeadsToTheFullSearch) {
  ScenarioRig rig(3);
  rig.form.PortNumber = 7;
  std::vector<std::int16_t> port_while_trying;
  rig.on_message = [&] { port_while_trying.push_back(rig.form.PortNumber); };
  double freq = 0;
  rig.main.discovery().FindBoard(rig.form.PortNumber, freq);

  EXPECT_EQ(rig.form.PortNumber, 3);
  ASSERT_GE(port_while_trying.size(), 3u);
  EXPECT_EQ(port_while_trying[0], 7) << "trying the given port";
  EXPECT_EQ(port_while_trying[1], 0) << "PortNumber reads 0 during the search";
  EXPECT_TRUE(rig.Showed(kFoundAt3));
  // Two failed ports (7, then 1 and 2) cost their beeps; the board on 3 none before it is found.
  EXPECT_EQ(rig.board.ReceivedCommands().front().text, "\r");
}

TEST(DiscoveryScenario, NoBoardOnAnyOf256PortsTakesAboutElevenMinutes) {
  ScenarioRig rig(SimulatedSerialPort::kNoBoard);
  rig.form.Sound = false;
  std::int16_t port = 0;
  double freq = 0;
  rig.main.discovery().FindBoard(port, freq);

  EXPECT_EQ(port, 0);
  EXPECT_EQ(rig.form.Panel(1).Text(), "TRYING  SERIAL  PORT  256  ");
  EXPECT_EQ(rig.Messages().size(), 256u);
  // 40 + 40 + 400 + 500, then twice 40 + 300 + 500 ms per port.
  const double minutes = static_cast<double>(rig.time.NowMs()) / 60000.0;
  EXPECT_NEAR(minutes, 256 * 2.66 / 60, 0.05);
  EXPECT_EQ(rig.form.BaudRate, "");
  EXPECT_EQ(rig.form.prgProgress.Value(), 0);
}

TEST(DiscoveryScenario, ABoardThatAnswersTheSecondAttemptIsAcceptedWithoutABeep) {
  BoardOptions options;
  options.faults.ignored_bit_rate_crs = 1;
  ScenarioRig rig(1, options);
  int beeps_before_found = -1;
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text().rfind("Korvane  DEMO  BOARD  IS  FOUND", 0) == 0 &&
        beeps_before_found < 0) {
      beeps_before_found = rig.dialogs.beeps;
    }
  };
  std::int16_t port = 1;
  double freq = 0;
  rig.main.discovery().FindBoard(port, freq);
  EXPECT_EQ(port, 1);
  EXPECT_EQ(beeps_before_found, 0);
  EXPECT_EQ(rig.form.BaudRate, "57600");
}

struct FailureCase {
  int answers;  // answers the programming mode gives before it falls silent
  double given_clock;
  std::vector<std::string> boxes;
  std::string last_sent;
};

TEST(DiscoveryScenario, EachUnansweredCommandEndsWithItsMessages) {
  const FailureCase cases[] = {
      {1, 0, {"Part doesn't respond RRCA"}, "\rRRCA"},
      {2, 0, {"Part doesn't respond RRCB"}, "RRCB"},
      {1, 11.0592, {" Error performing serial port command <RWFB0A>."}, "\rRWFB0A"},
      {4, 11.0592, {" Error performing serial port command <RWEF34>."}, "RWFD2ARWEF34"},
      {6, 11.0592, {" Error performing serial port command <CP8000>."}, "RWFE63CP8000"},
      {8, 11.0592, {" Error performing serial port command <CW8011FA>."}, "CW80104ACW8011FA"},
      {10, 11.0592, {" Error performing serial port command <CW8013FF>."}, "CW80124BCW8013FF"},
  };
  for (const auto& failure : cases) {
    BoardOptions options;
    options.faults.prog_mode_answer_limit = failure.answers;
    ScenarioRig rig(1, options);
    std::int16_t port = 1;
    double freq = failure.given_clock;
    rig.main.discovery().FindBoard(port, freq);
    EXPECT_EQ(rig.dialogs.Texts(), failure.boxes) << failure.answers;
    EXPECT_EQ(rig.form.Panel(1).Text(), "CANNOT  PROGRAM  Korvane  COMMUNICATION  SPEED");
    EXPECT_TRUE(rig.port.IsPortOpen());
    EXPECT_EQ(rig.form.Panel(4).Text(), "") << "no port settings shown";
    const auto icon = failure.given_clock > 0 ? MessageIcon::kCritical : MessageIcon::kNone;
    EXPECT_EQ(rig.dialogs.messages.front().icon, icon);
    // Nothing after the failed command is sent.
    const auto& sent = rig.Sent();
    ASSERT_GE(sent.size(), failure.last_sent.size());
    EXPECT_EQ(sent.substr(sent.size() - failure.last_sent.size()), failure.last_sent);
  }
}

TEST(DiscoveryScenario, AClockWithoutAFittingSpeed) {
  ScenarioRig rig(1);
  std::int16_t port = 1;
  double freq = 0.1;
  rig.main.discovery().FindBoard(port, freq);
  EXPECT_EQ(rig.form.Panel(1).Text(), "CANNOT  FIND  BAUD  RATE  FOR  THIS  CLOCK  FREQUENCY");
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0].text,
            "Cannot find fitting comunication baud rate\r\nfor existing device clock "
            "frequency.\r\nTry to change Korvane clock frequency.");
  EXPECT_EQ(rig.dialogs.messages[0].icon, MessageIcon::kCritical);
  EXPECT_EQ(rig.form.txtFreq.Text(), "0.1");
  EXPECT_EQ(rig.form.txtAClock.Text(), "-1");
  EXPECT_TRUE(rig.ProgrammingCommands().empty()) << "a given clock is not measured";
  EXPECT_EQ(freq, 0.1);
}

TEST(DiscoveryScenario, GarbageIsNoBoard) {
  BoardOptions options;
  options.faults.garbage_answers = true;
  ScenarioRig garbage(1, options);
  garbage.form.Sound = false;
  std::int16_t port = 1;
  double freq = 0;
  garbage.main.discovery().FindBoard(port, freq);
  EXPECT_EQ(port, 0) << "no prompt ever came, so every port was tried";
  EXPECT_EQ(garbage.form.Panel(1).Text(), "TRYING  SERIAL  PORT  256  ");
  EXPECT_TRUE(garbage.dialogs.messages.empty());
}

TEST(DiscoveryScenario, ClockCommandsClampTheClockText) {
  ScenarioRig rig(1);
  auto& discovery = rig.main.discovery();
  rig.form.txtFreq.SetText("30");
  discovery.MakeClockCmds();
  EXPECT_EQ(rig.form.txtFreq.Text(), "24");
  EXPECT_EQ(rig.form.ClkCmdFB, "RWFB17");
  rig.form.txtFreq.SetText("abc");
  discovery.MakeClockCmds();
  EXPECT_EQ(rig.form.txtFreq.Text(), "1");
  EXPECT_EQ(rig.form.ClkCmdFC, "RWFCE8");
  rig.form.txtFreq.SetText("11.0592");
  discovery.MakeClockCmds();
  EXPECT_EQ(rig.form.txtFreq.Text(), "11.0592");
  EXPECT_EQ(rig.form.ClkCmdFD, "RWFD2A");
  rig.form.txtFreq.SetText("&H18");
  discovery.MakeClockCmds();
  EXPECT_EQ(rig.form.ClkCmdFB, "RWFB17");
  rig.form.txtFreq.SetText("1e308");
  discovery.MakeClockCmds();
  EXPECT_EQ(rig.form.txtFreq.Text(), "24");
}

}  // namespace
}  // namespace korvane
