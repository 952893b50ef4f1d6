#include <gtest/gtest.h>

#include <string>

#include "acquisition/acquisition_run.h"
#include "adcconfig/adc_setup.h"
#include "app/port_loss_notice.h"
#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

// The adapter of the board's port is pulled out while the port is open. Every operation then
// ends as with a silent board, panel 1 names the lost port, and nothing more reaches the board.

const std::string kPort1Lost = PortLossNotice::Text(1);

/// Pulls the adapter of port 1 the first time panel 1 shows a text starting with `prefix`.
struct UnpluggedRig : ScenarioRig {
  explicit UnpluggedRig(BoardOptions options = {}) : ScenarioRig(1, options) {}
  ~UnpluggedRig() { EXPECT_TRUE(pulled_); }
  void PullAt(const std::string& prefix) {
    on_message = [this, prefix] {
      if (pulled_ || form.Panel(1).Text().rfind(prefix, 0) != 0) return;
      pulled_ = true;
      time.Schedule(Millis{5}, [this] {
        commands_before_ = board.ReceivedCommands().size();
        port.Unplug(1);
      });
    };
  }
  std::size_t CommandsSincePull() const {
    return board.ReceivedCommands().size() - commands_before_;
  }

 private:
  bool pulled_ = false;
  std::size_t commands_before_ = 0;
};

TEST(UnpluggedAdapterScenario, DuringDiscoveryTheSearchGoesOnWithoutThePort) {
  UnpluggedRig rig;
  rig.process.command_line = "s 1";
  rig.PullAt("TRYING  SERIAL  PORT  1");
  rig.main.Form_Load();
  EXPECT_TRUE(rig.Showed(kPort1Lost));
  EXPECT_EQ(rig.form.Panel(1).Text(), "TRYING  SERIAL  PORT  256  ");
  EXPECT_TRUE(rig.form.frmKorvane_Demo.Enabled());
  EXPECT_EQ(rig.CommandsSincePull(), 0u);
}

TEST(UnpluggedAdapterScenario, DuringAResetItFailsAndAResetAfterReplugWorks) {
  UnpluggedRig rig;
  rig.Start();
  rig.PullAt("SERIAL PORT 1 AT BAUD");
  rig.form.cmdReset.Click();

  // No "]" after the run reset: as with a silent board the firmware load is tried (no file here).
  const std::vector<std::string> no_file{"Error to open HEX file Korvane_ADC_Demo.Hex"};
  EXPECT_EQ(rig.dialogs.Texts(), no_file);
  EXPECT_EQ(rig.form.Panel(1).Text(), kPort1Lost);
  EXPECT_TRUE(rig.form.cmdReset.Enabled());
  EXPECT_FALSE(rig.port.IsPortOpen());
  EXPECT_EQ(rig.CommandsSincePull(), 0u);

  // Still out: a second reset cannot open the port and names it again.
  rig.form.cmdReset.Click();
  EXPECT_EQ(rig.dialogs.Texts(), (std::vector<std::string>{no_file[0], no_file[0]}));
  EXPECT_EQ(rig.form.Panel(1).Text(), kPort1Lost);

  rig.port.PlugIn();
  rig.dialogs.messages.clear();
  rig.form.cmdReset.Click();
  EXPECT_EQ(rig.dialogs.Texts(), std::vector<std::string>{});
  EXPECT_EQ(rig.form.Panel(1).Text(), "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET");
  rig.form.cmdCntr[1].Click();
  EXPECT_EQ(rig.form.Panel(1).Text(), AdcSetup::kSetDone) << "the notice ended with the reopen";
}

TEST(UnpluggedAdapterScenario, DuringTheAdcSetUpItFailsLikeASilentBoard) {
  UnpluggedRig rig;
  rig.main.Form_Load();
  rig.PullAt(AdcSetup::kSetting);
  rig.form.cmdCntr[1].Click();
  EXPECT_TRUE(rig.Showed(AdcSetup::kSetFailed));
  EXPECT_EQ(rig.form.Panel(1).Text(), kPort1Lost);
  EXPECT_TRUE(rig.form.AdcNotSet);
  EXPECT_EQ(rig.Buttons(), ScenarioRig::kIdle);
  EXPECT_EQ(rig.CommandsSincePull(), 0u);
}

TEST(UnpluggedAdapterScenario, DuringARunItWaitsUntilStopped) {
  UnpluggedRig rig;
  rig.main.Form_Load();
  rig.PullAt("GETTING  ADC  CODE");
  rig.form.cboSampling.SetListIndex(2);
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
  EXPECT_EQ(rig.Buttons(), ScenarioRig::kIdle);
  EXPECT_EQ(rig.CommandsSincePull(), 0u);
}

TEST(UnpluggedAdapterScenario, DuringALoadItWaitsUntilStopLoad) {
  UnpluggedRig rig({.program_loaded = false});
  rig.PullAt("LOADING...   57600  BAUD,   FILE LINE:  20");
  rig.hex_folder.WriteProgram(2000);
  bool waiting = false;
  rig.time.Schedule(Millis{120'000}, [&] {
    waiting =
        rig.form.cmdCntr[0].Caption() == "Stop &Load" && rig.form.Panel(1).Text() == kPort1Lost;
    rig.form.cmdCntr[0].Click();
  });

  rig.main.Form_Load();

  EXPECT_TRUE(waiting) << "the load waits for the board's reply until it is stopped";
  EXPECT_EQ(rig.form.Panel(1).Text(), kPort1Lost);
  EXPECT_TRUE(rig.form.frmKorvane_Demo.Enabled());
  EXPECT_TRUE(rig.form.cmdReset.Enabled());
  EXPECT_EQ(rig.CommandsSincePull(), 0u);
}

}  // namespace
}  // namespace korvane
