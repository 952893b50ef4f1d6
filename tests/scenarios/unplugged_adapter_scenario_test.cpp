#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "acquisition/acquisition_run.h"
#include "adcconfig/adc_setup.h"
#include "app/port_loss_notice.h"
#include "app/port_reconnect.h"
#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

// The adapter of the board's port is pulled out while the port is open. Every operation then
// ends as with a silent board, panel 1 names the lost port, and nothing more reaches the board.

const std::string kPort1Lost = PortLossNotice::Text(1);

/// Pulls the adapter of port 1 the first time panel 1 shows a text starting with `prefix`, and
/// plugs it back `replug_after` later when given.
struct UnpluggedRig : ScenarioRig {
  explicit UnpluggedRig(BoardOptions options = {}) : ScenarioRig(1, options) {}
  ~UnpluggedRig() { EXPECT_TRUE(pulled_); }
  void PullAt(const std::string& prefix, std::optional<Millis> replug_after = {}) {
    on_message = [this, prefix, replug_after] {
      if (plugged_in_at >= 0 && reset_started_at < 0 &&
          form.Panel(1).Text().rfind("SERIAL PORT 1 AT BAUD", 0) == 0) {
        reset_started_at = time.NowMs();
      }
      if (pulled_ || form.Panel(1).Text().rfind(prefix, 0) != 0) return;
      pulled_ = true;
      time.Schedule(Millis{5}, [this, replug_after] {
        commands_before_ = board.ReceivedCommands().size();
        port.Unplug(1);
        if (!replug_after) return;
        time.Schedule(*replug_after, [this] {
          sent_before_replug = Sent().size();
          plugged_in_at = time.NowMs();
          port.PlugIn();
        });
      });
    };
  }
  std::int64_t plugged_in_at = -1;
  std::int64_t reset_started_at = -1;
  std::size_t sent_before_replug = 0;
  std::size_t CommandsSincePull() const {
    return board.ReceivedCommands().size() - commands_before_;
  }

 private:
  bool pulled_ = false;
  std::size_t commands_before_ = 0;
};

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

TEST(UnpluggedAdapterScenario, WhenTheAdapterIsBackTheBoardIsResetOnItsOwn) {
  struct Case {
    const char* pulled_at;
    int button;  ///< started before the pull
  };
  for (const Case& c : {Case{AdcSetup::kSetting, 1}, Case{"GETTING  ADC  CODE", 2}}) {
    SCOPED_TRACE(c.pulled_at);
    UnpluggedRig rig;
    rig.Start();
    rig.PullAt(c.pulled_at, Millis{3'000});
    rig.form.cmdCntr[static_cast<std::size_t>(c.button)].Click();
    rig.time.Advance(Millis{10'000});

    ASSERT_GE(rig.plugged_in_at, 0);
    EXPECT_GE(rig.reset_started_at, rig.plugged_in_at);
    EXPECT_LE(rig.reset_started_at, rig.plugged_in_at + 2'000) << "reset soon after the return";
    EXPECT_TRUE(rig.port.IsPortOpen());
    EXPECT_EQ(rig.form.Panel(1).Text(), PortReconnect::Text(1));
    EXPECT_FALSE(rig.form.TestGo) << "a run under way stays stopped";
    EXPECT_EQ(rig.Buttons(), ScenarioRig::kIdle);
    EXPECT_EQ(rig.Sent().substr(rig.sent_before_replug).find('\r'), 0u) << "the run reset's CR";
  }
}

TEST(UnpluggedAdapterScenario, AChosenPortBecomesTheBoardsPortAndIsReset) {
  ScenarioRig rig(2);
  rig.process.command_line = "s 2";
  rig.Start();
  const std::pair<int, bool> choices[] = {{5, false}, {2, true}};  // port, board there
  for (const auto& [port_number, board_there] : choices) {
    SCOPED_TRACE(port_number);
    const std::size_t sent_before = rig.Sent().size();
    rig.main.UsePort(port_number);
    EXPECT_EQ(rig.port.CommPort(), "COM" + std::to_string(port_number));
    EXPECT_EQ(rig.Sent().substr(sent_before, 1), "\r") << "the run reset's CR";
    EXPECT_EQ(rig.form.Panel(1).Text() == BoardReset::ResetDoneText(port_number, "57600"),
              board_there);
  }
}

}  // namespace
}  // namespace korvane
