#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "app/view/data_menu_builder.h"
#include "app/view/noise_window.h"
#include "platform/virtual_time.h"
#include "support/window_on_board.h"

namespace korvane {
namespace {

TEST(DataMenu, ItemsWorkFromTheKeyboardAndTheNoiseWindowFollowsTheBlock) {
  testing::WindowOnBoard<VirtualTime> rig;
  DataMenuBuilder(rig.window, rig.main.run_data()).Build();
  auto* menu = rig.Find<QMenu>("mnuData");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->title(), "&Data");
  QStringList captions;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    captions << action->text();
    EXPECT_FALSE(action->shortcut().isEmpty()) << action->text().toStdString();
  }
  EXPECT_EQ(captions,
            (QStringList{"&Noise Window", "&Export Block as CSV...", "&Record Run to CSV...",
                         "&Stop Recording", "&Open Recording..."}));

  QApplication::setActiveWindow(&rig.window);
  QTest::keySequence(&rig.window, QKeySequence("Ctrl+Shift+N"));
  auto* noise = rig.window.findChild<NoiseWindow*>("NoiseWindow");
  ASSERT_NE(noise, nullptr);
  EXPECT_TRUE(noise->isVisible());

  BlockSettings settings;
  settings.volts_per_lsb = 5.0 / 16777215;
  settings.full_scale_volts = 5.0;
  rig.main.run_data().last_block().Show({-1, 1, -1, 1}, settings, "test");
  auto* sigma = noise->findChild<QLabel*>("fig_sigma_uV_rms");
  ASSERT_NE(sigma, nullptr);
  EXPECT_EQ(sigma->text(), "0.344");  // sqrt(4/3) LSB of 0.298 uV
  EXPECT_EQ(sigma->accessibleName(), "σ, µV rms");
}

}  // namespace
}  // namespace korvane
