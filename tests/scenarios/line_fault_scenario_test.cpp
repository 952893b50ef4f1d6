#include <gtest/gtest.h>

#include <string>

#include "support/scenario_rig.h"

namespace korvane {
namespace {

using testing::ScenarioRig;

/// Line noise forges the boot firmware's "T" (programming finished) out of its "." for line 3 of
/// a 40-line load at start-up. Only the end record may draw a "T": the load fails at line 3 and
/// says so, and the partial image in the flash does not run.
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
  EXPECT_FALSE(rig.Showed("Korvane  PROGRAM  WAS  LOADED"));
  EXPECT_EQ(rig.form.Panel(1).Text(), "HEX  FILE  LINE  3  REPLY  ERROR");
  EXPECT_EQ(rig.dialogs.Texts().back(), "Error during loading program to Korvane");
}

}  // namespace
}  // namespace korvane
