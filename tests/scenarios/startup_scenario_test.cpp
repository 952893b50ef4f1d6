#include <gtest/gtest.h>

#include "common/version.h"
#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ProgramEnded;
using testing::ScenarioRig;

const char* const kPortKey = "Korvane-DAQ-EVM/Settings/ComPort";

TEST(StartupScenario, PlainStartFindsTheBoardWithTheWindowDisabled) {
  ScenarioRig rig(1);
  rig.form.frmKorvane_Demo.SetBackColor(0xD4D0C8);
  std::string order;
  for (auto* list :
       {&rig.form.cboCalibr, &rig.form.cboFilter, &rig.form.cboSampling, &rig.form.cboAvgFil}) {
    list->SetOnClick(
        [&order, list] { order += list->Name() + "=" + std::to_string(list->ListIndex()) + " "; });
  }
  std::string while_searching;
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text().rfind("TRYING", 0) == 0) {
      while_searching =
          std::string(rig.form.frmKorvane_Demo.Enabled() ? "enabled" : "disabled") +
          (rig.form.linSep[0].Visible() || rig.form.linSep[4].Visible() ? " separators" : "");
    }
  };

  rig.main.Form_Load();

  EXPECT_EQ(rig.histo.BackgroundColor(), 0xD4D0C8u);
  EXPECT_EQ(rig.adc_graph.BackgroundColor(), 0xD4D0C8u);
  EXPECT_EQ(order, "cboCalibr=1 cboFilter=3 cboSampling=2 cboAvgFil=0 ");
  EXPECT_EQ(rig.form.cboCalibr.ListIndex() * 100 + rig.form.cboFilter.ListIndex() * 10 +
                rig.form.cboSampling.ListIndex(),
            132);
  EXPECT_EQ(rig.form.cboAvgFil.ListIndex(), 0);
  EXPECT_EQ(rig.form.Panel(5).Text(), std::to_string(kVersionMajor) + "." +
                                          std::to_string(kVersionMinor) + "." +
                                          std::to_string(kVersionPatch));
  EXPECT_TRUE(rig.form.prgProgress.Visible());
  EXPECT_EQ(rig.form.prgProgress.Max(), 8);
  EXPECT_TRUE(rig.form.Sound);
  EXPECT_EQ(rig.form.PortNumber, 1);
  EXPECT_EQ(while_searching, "disabled");
  EXPECT_TRUE(rig.form.frmKorvane_Demo.Enabled() && rig.form.frmKorvane_Demo.Visible());
  EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});
  EXPECT_EQ(rig.MessagesFrom(0).substr(0, 78),
            " WELCOME  TO  HALVERN  Korvane DVM  DEMO  PROGRAM  | TRYING  SERIAL  PORT  1  ");
  EXPECT_TRUE(
      rig.Showed("Korvane  DEMO  BOARD  IS  FOUND  AT  PORT  1  ,  COMMUNICATION  AT  57600 BAUD"));
  EXPECT_EQ(rig.form.Panel(1).Text(), "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET");
  EXPECT_EQ(rig.form.txtFreq.Text(), "11.0592");
}

TEST(StartupScenario, CommandLineAndStoredPort) {
  const struct {
    int board_port;
    const char* command_line;
    bool sound;
    const char* first_command;
  } cases[] = {{3, "S 3 11.0592", false, "RWFB0A"},  // a given clock is not measured
               {12, "x", true, "RRCA"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command_line);
    ScenarioRig rig(c.board_port);
    rig.settings.values[kPortKey] = "COM12";
    rig.process.command_line = c.command_line;
    rig.main.Form_Load();
    EXPECT_EQ(rig.form.Sound, c.sound);
    EXPECT_EQ(rig.form.PortNumber, c.board_port) << "the command line beats the store";
    EXPECT_EQ(rig.Messages()[1], "TRYING  SERIAL  PORT  " + std::to_string(c.board_port) + "  ");
    EXPECT_EQ(rig.form.txtFreq.Text(), "11.0592");
    EXPECT_EQ(rig.Commands(BoardMode::kProgramming).rfind(c.first_command, 0), 0u);
    EXPECT_EQ(rig.dialogs.beeps > 0, c.sound);
  }
}

TEST(StartupScenario, WarningsGoOnWithTheStart) {
  ScenarioRig rig(1);
  rig.process.another_instance = true;
  rig.process.command_line = "S 1 11.0592 extra words";
  rig.main.Form_Load();
  EXPECT_EQ(rig.dialogs.Texts(),
            (std::vector<std::string>{"You already have one instance of this program running",
                                      "Errors in program comand line"}));
  for (const auto& message : rig.dialogs.messages) EXPECT_EQ(message.icon, MessageIcon::kNone);
  EXPECT_FALSE(rig.form.Sound);
  EXPECT_EQ(rig.form.PortNumber, 1);
  EXPECT_EQ(rig.form.BaudRate, "57600");
}

TEST(StartupScenario, ShutdownSavesThePortAndEndsAtOnce) {
  ScenarioRig rig(5);
  rig.main.Form_Load();
  EXPECT_THROW(rig.main.Form_Unload(), ProgramEnded);
  EXPECT_EQ(rig.settings.values[kPortKey], "COM5");
  EXPECT_FALSE(rig.port.IsPortOpen());
  EXPECT_TRUE(rig.process.ended);

  // Closing the window in the middle of a search ends it where it stands.
  ScenarioRig searching(SimulatedSerialPort::kNoBoard);
  searching.time.Schedule(Millis{30000}, [&] { searching.main.Form_Unload(); });
  EXPECT_THROW(searching.main.Form_Load(), ProgramEnded);
  EXPECT_EQ(searching.form.Panel(1).Text(), "TRYING  SERIAL  PORT  12  ");
  EXPECT_EQ(searching.settings.values[kPortKey], "COM12");
  EXPECT_FALSE(searching.port.IsPortOpen());
  EXPECT_LT(searching.time.NowMs(), 31000);
}

}  // namespace
}  // namespace korvane
