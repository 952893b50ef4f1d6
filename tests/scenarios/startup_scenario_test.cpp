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
  std::vector<std::string> order;
  for (auto* list :
       {&rig.form.cboCalibr, &rig.form.cboFilter, &rig.form.cboSampling, &rig.form.cboAvgFil}) {
    list->SetOnClick([&order, list] { order.push_back(list->Name()); });
  }
  bool enabled_while_searching = true;
  bool separators_hidden_while_searching = false;
  rig.on_message = [&] {
    if (rig.form.Panel(1).Text().rfind("TRYING", 0) == 0) {
      enabled_while_searching = rig.form.frmKorvane_Demo.Enabled();
      separators_hidden_while_searching =
          !rig.form.linSep[0].Visible() && !rig.form.linSep[4].Visible();
    }
  };

  rig.main.Form_Load();

  EXPECT_EQ(rig.histo.BackgroundColor(), 0xD4D0C8u);
  EXPECT_EQ(rig.adc_graph.BackgroundColor(), 0xD4D0C8u);
  EXPECT_EQ(order,
            (std::vector<std::string>{"cboCalibr", "cboFilter", "cboSampling", "cboAvgFil"}));
  EXPECT_EQ(rig.form.cboCalibr.ListIndex(), 1);
  EXPECT_EQ(rig.form.cboFilter.ListIndex(), 3);
  EXPECT_EQ(rig.form.cboSampling.ListIndex(), 2);
  EXPECT_EQ(rig.form.cboAvgFil.ListIndex(), 0);
  EXPECT_EQ(rig.form.Panel(5).Text(), std::to_string(kVersionMajor) + "." +
                                          std::to_string(kVersionMinor) + "." +
                                          std::to_string(kVersionPatch));
  EXPECT_TRUE(rig.form.prgProgress.Visible());
  EXPECT_EQ(rig.form.prgProgress.Max(), 8);
  EXPECT_TRUE(rig.form.Sound);
  EXPECT_EQ(rig.form.PortNumber, 1);
  EXPECT_FALSE(enabled_while_searching);
  EXPECT_TRUE(separators_hidden_while_searching);
  EXPECT_TRUE(rig.form.frmKorvane_Demo.Enabled());
  EXPECT_TRUE(rig.form.frmKorvane_Demo.Visible());
  EXPECT_TRUE(rig.dialogs.messages.empty());
  ASSERT_GE(rig.Messages().size(), 2u);
  EXPECT_EQ(rig.Messages()[0], " WELCOME  TO  HALVERN  Korvane DVM  DEMO  PROGRAM ");
  EXPECT_EQ(rig.Messages()[1], "TRYING  SERIAL  PORT  1  ");
  EXPECT_TRUE(
      rig.Showed("Korvane  DEMO  BOARD  IS  FOUND  AT  PORT  1  ,  COMMUNICATION  AT  57600 BAUD"));
  EXPECT_EQ(rig.form.Panel(1).Text(), "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET");
  EXPECT_EQ(rig.form.txtFreq.Text(), "11.0592");
}

TEST(StartupScenario, CommandLineAndStoredPort) {
  ScenarioRig rig(3);
  rig.settings.values[kPortKey] = "COM12";
  rig.process.command_line = "S 3 11.0592";
  rig.main.Form_Load();
  EXPECT_FALSE(rig.form.Sound);
  EXPECT_EQ(rig.form.PortNumber, 3);
  EXPECT_EQ(rig.Messages()[1], "TRYING  SERIAL  PORT  3  ") << "the command line beats the store";
  EXPECT_EQ(rig.form.txtFreq.Text(), "11.0592");
  EXPECT_EQ(rig.ProgrammingCommands().front(), "RWFB0A") << "a given clock is not measured";
  EXPECT_EQ(rig.dialogs.beeps, 0);

  ScenarioRig stored(12);
  stored.settings.values[kPortKey] = "COM12";
  stored.process.command_line = "x";
  stored.main.Form_Load();
  EXPECT_TRUE(stored.form.Sound);
  EXPECT_EQ(stored.Messages()[1], "TRYING  SERIAL  PORT  12  ");
  EXPECT_EQ(stored.form.PortNumber, 12);
  EXPECT_GT(stored.dialogs.beeps, 0);
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
