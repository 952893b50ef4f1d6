#include <gtest/gtest.h>

#include <string>

#include "acquisition/acquisition_run.h"
#include "adcconfig/adc_setup.h"
#include "app/port_loss_notice.h"
#include "board/hex_image.h"
#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

// The adapter of the board's port is pulled out while the port is open. Every operation then
// ends as with a silent board, panel 1 names the lost port, and nothing more reaches the board.

const std::string kPort1Lost = PortLossNotice::Text(1);

/// Commands the board took after `from` (the count before the adapter was pulled).
std::size_t CommandsSince(const ScenarioRig& rig, std::size_t from) {
  return rig.board.ReceivedCommands().size() - from;
}

/// Pulls the adapter of port 1 the first time panel 1 shows a text starting with `prefix`.
void UnplugAtMessage(ScenarioRig& rig, const std::string& prefix, std::size_t& commands_before) {
  rig.on_message = [&rig, prefix, &commands_before, pulled = false]() mutable {
    if (pulled || rig.form.Panel(1).Text().rfind(prefix, 0) != 0) return;
    pulled = true;
    rig.time.Schedule(Millis{5}, [&rig, &commands_before] {
      commands_before = rig.board.ReceivedCommands().size();
      rig.port.Unplug(1);
    });
  };
}

TEST(UnpluggedAdapterScenario, DuringDiscoveryTheSearchGoesOnWithoutThePort) {
  ScenarioRig rig(1);
  rig.process.command_line = "s 1";
  std::size_t before = 0;
  UnplugAtMessage(rig, "TRYING  SERIAL  PORT  1", before);

  rig.main.Form_Load();

  EXPECT_TRUE(rig.Showed(kPort1Lost));
  EXPECT_EQ(rig.form.Panel(1).Text(), "TRYING  SERIAL  PORT  256  ");
  EXPECT_EQ(CommandsSince(rig, before), 0u);
  EXPECT_TRUE(rig.form.frmKorvane_Demo.Enabled());
}

TEST(UnpluggedAdapterScenario, DuringAResetItFailsAndAResetAfterReplugWorks) {
  ScenarioRig rig(1);
  rig.main.Form_Load();
  rig.dialogs.messages.clear();
  std::size_t before = 0;
  UnplugAtMessage(rig, "SERIAL PORT 1 AT BAUD", before);

  rig.form.cmdReset.Click();

  // No "]" after the run reset: as with a silent board the firmware load is tried (no file here).
  ASSERT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.dialogs.messages[0].text, "Error to open HEX file Korvane_ADC_Demo.Hex");
  EXPECT_EQ(rig.form.Panel(1).Text(), kPort1Lost);
  EXPECT_EQ(CommandsSince(rig, before), 0u);
  EXPECT_TRUE(rig.form.cmdReset.Enabled());
  EXPECT_FALSE(rig.port.IsPortOpen());

  // Still out: a second reset cannot open the port and names it again.
  rig.dialogs.messages.clear();
  rig.form.cmdReset.Click();
  EXPECT_EQ(rig.dialogs.messages.size(), 1u);
  EXPECT_EQ(rig.form.Panel(1).Text(), kPort1Lost);

  rig.port.PlugIn();
  rig.dialogs.messages.clear();
  rig.form.cmdReset.Click();
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_EQ(rig.form.Panel(1).Text(), "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET");
  rig.form.cmdCntr[1].Click();
  EXPECT_EQ(rig.form.Panel(1).Text(), AdcSetup::kSetDone) << "the notice ended with the reopen";
}

TEST(UnpluggedAdapterScenario, DuringTheAdcSetUpItFailsLikeASilentBoard) {
  ScenarioRig rig(1);
  rig.main.Form_Load();
  std::size_t before = 0;
  UnplugAtMessage(rig, AdcSetup::kSetting, before);

  rig.form.cmdCntr[1].Click();

  EXPECT_TRUE(rig.Showed(AdcSetup::kSetFailed));
  EXPECT_EQ(rig.form.Panel(1).Text(), kPort1Lost);
  EXPECT_TRUE(rig.form.AdcNotSet);
  EXPECT_EQ(CommandsSince(rig, before), 0u);
  for (const auto& button : rig.form.cmdCntr) EXPECT_TRUE(button.Enabled());
}

TEST(UnpluggedAdapterScenario, DuringARunItWaitsUntilStopped) {
  ScenarioRig rig(1);
  rig.main.Form_Load();
  rig.form.cboSampling.SetListIndex(2);
  std::size_t before = 0;
  UnplugAtMessage(rig, "GETTING  ADC  CODE", before);
  std::int64_t taken_soon_after = -1;
  bool still_running = false;
  rig.time.Schedule(Millis{20'000}, [&] { taken_soon_after = rig.main.run().ReadingsTaken(); });
  rig.time.Schedule(Millis{80'000}, [&] {
    still_running = rig.form.TestGo && rig.form.Panel(1).Text() == kPort1Lost;
    rig.form.cmdCntr[2].Click();
  });

  rig.form.cmdCntr[2].Click();

  EXPECT_TRUE(still_running) << "a silent board keeps the run waiting until it is stopped";
  EXPECT_EQ(rig.main.run().ReadingsTaken(), taken_soon_after);
  EXPECT_TRUE(rig.Showed(AcquisitionRun::kFinished));
  EXPECT_EQ(rig.form.Panel(1).Text(), kPort1Lost);
  EXPECT_EQ(rig.form.cmdCntr[2].Caption(), "Run &ADC");
  EXPECT_TRUE(rig.form.cmdReset.Enabled());
  EXPECT_EQ(CommandsSince(rig, before), 0u);
}

TEST(UnpluggedAdapterScenario, DuringALoadItWaitsUntilStopLoad) {
  BoardOptions blank;
  blank.program_loaded = false;
  ScenarioRig rig(1, blank);
  rig.hex_folder.WriteHexLines(HexImageLines(0x0000, DemoProgramBytes(2000)));
  std::size_t before = 0;
  UnplugAtMessage(rig, "LOADING...   57600  BAUD,   FILE LINE:  20", before);
  bool waiting = false;
  rig.time.Schedule(Millis{120'000}, [&] {
    waiting =
        rig.form.cmdCntr[0].Caption() == "Stop &Load" && rig.form.Panel(1).Text() == kPort1Lost;
    rig.form.cmdCntr[0].Click();
  });

  rig.main.Form_Load();

  EXPECT_TRUE(waiting) << "the load waits for the board's reply until it is stopped";
  EXPECT_EQ(rig.form.Panel(1).Text(), kPort1Lost);
  EXPECT_EQ(CommandsSince(rig, before), 0u);
  EXPECT_TRUE(rig.form.frmKorvane_Demo.Enabled());
  EXPECT_TRUE(rig.form.cmdReset.Enabled());
}

}  // namespace
}  // namespace korvane
