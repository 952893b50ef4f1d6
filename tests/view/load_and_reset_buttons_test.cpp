#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "board/hex_image.h"
#include "platform/virtual_time.h"
#include "support/window_on_board.h"

namespace korvane {
namespace {

using WindowOnBoard = testing::WindowOnBoard<VirtualTime>;

TEST(LoadAndResetButtons, StopLoadCanBePressedInTheWindowWhileAStartUpLoadWaits) {
  BoardOptions blank;
  blank.program_loaded = false;
  // Discovery takes 13 answers and the boot steps of the loader 14: the HEX lines get none.
  blank.faults.prog_mode_answer_limit = 13 + 14;
  WindowOnBoard rig(blank);
  const auto lines = HexImageLines(0x0000, DemoProgramBytes(100));
  rig.hex_folder.WriteHexLines(lines);
  std::string seen;
  rig.time.Schedule(Millis{300000}, [&] {
    auto* stop = rig.Find<QPushButton>("cmdCntr_0");
    auto* bar = rig.Find<QProgressBar>("prgProgress");
    seen = stop->text().toStdString() + (stop->isVisible() ? " shown" : " hidden") +
           (stop->isEnabled() ? " enabled" : " disabled") +
           (rig.Find<QPushButton>("cmdReset")->isEnabled() ? ", reset enabled" : "") + ", line " +
           std::to_string(bar->value()) + " of " + std::to_string(bar->maximum());
    QTest::mouseClick(stop, Qt::LeftButton);
  });

  rig.main.Form_Load();
  QApplication::processEvents();

  EXPECT_EQ(seen, "Stop &Load shown enabled, line 1 of " + std::to_string(lines.size()));
  EXPECT_TRUE(rig.dialogs.messages.empty());
  EXPECT_FALSE(rig.Find<QPushButton>("cmdCntr_0")->isVisible());
  EXPECT_TRUE(rig.Find<QPushButton>("cmdReset")->isEnabled());
  EXPECT_EQ(rig.form.Panel(1).Text(), "PROGRAMMING  WAS  INTERRUPTED");
}

TEST(LoadAndResetButtons, ResetButtonResetsTheBoard) {
  WindowOnBoard rig(BoardOptions{});
  rig.main.Form_Load();
  rig.form.txtOfstDAC.SetText("12");
  const auto commands = rig.board.ReceivedCommands().size();

  QTest::mouseClick(rig.Find<QPushButton>("cmdReset"), Qt::LeftButton);
  QApplication::processEvents();

  ASSERT_GT(rig.board.ReceivedCommands().size(), commands);
  EXPECT_EQ(rig.board.ReceivedCommands().back().text, "H1");
  EXPECT_EQ(rig.form.txtOfstDAC.Text(), "0");
  EXPECT_TRUE(rig.Find<QPushButton>("cmdReset")->isEnabled());
  EXPECT_EQ(rig.Find<QPushButton>("cmdReset")->text(), "&RESET");
}

}  // namespace
}  // namespace korvane
