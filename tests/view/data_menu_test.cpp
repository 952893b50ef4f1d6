#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/view/data_menu_builder.h"
#include "app/view/fourier_window.h"
#include "app/view/noise_table_dialog.h"
#include "app/view/noise_window.h"
#include "platform/virtual_time.h"
#include "qcustomplot.h"
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
            (QStringList{"&Noise Window", "S&pectrum Window", "Record &N Readings...",
                         "Save Recor&d as CSV...", "Noise &Table...", "&Export Block as CSV...",
                         "&Record Run to CSV...", "&Stop Recording", "&Open Recording..."}));

  QApplication::setActiveWindow(&rig.window);
  QTest::keySequence(&rig.window, QKeySequence("Ctrl+Shift+N"));
  auto* noise = rig.window.findChild<NoiseWindow*>("NoiseWindow");
  ASSERT_NE(noise, nullptr);
  EXPECT_TRUE(noise->isVisible());
  QTest::keySequence(&rig.window, QKeySequence("Ctrl+Shift+T"));
  auto* table = rig.window.findChild<NoiseTableDialog*>("dlgNoiseTable");
  ASSERT_NE(table, nullptr);
  EXPECT_TRUE(table->isVisible());
  for (auto* button : table->findChildren<QAbstractButton*>()) {
    if (button->text().isEmpty()) continue;  // the tab bar's own arrows
    EXPECT_EQ(button->accessibleName(), QString(button->text()).remove('&'));
  }

  BlockSettings settings;
  settings.volts_per_lsb = 5.0 / 16777215;
  settings.full_scale_volts = 5.0;
  rig.main.run_data().last_block().Show({-1, 1, -1, 1}, settings, "test");
  auto* sigma = noise->findChild<QLabel*>("fig_sigma_uV_rms");
  ASSERT_NE(sigma, nullptr);
  EXPECT_EQ(sigma->text(), "0.344");  // sqrt(4/3) LSB of 0.298 uV
  EXPECT_EQ(sigma->accessibleName(), "σ, µV rms");
}

// Three blocks arrive while the first is analysed: the second never runs, the first's result is
// stale when it ends, and only the last block's spectrum is drawn.
TEST(SpectrumWindow, DropsStaleResultsAndShowsTheLastBlock) {
  LastBlock block;
  SpectrumWindow window(block, nullptr);
  BlockSettings settings;
  settings.volts_per_lsb = 5.0 / 16777215;
  settings.seconds_per_reading = 1e-3;
  for (const double tone_hz : {50.0, 120.0, 210.0}) {
    std::vector<std::int32_t> codes(4096);
    for (std::size_t n = 0; n < codes.size(); ++n) {
      const auto t = static_cast<double>(n) * 1e-3;
      codes[n] = static_cast<std::int32_t>(std::lround(
          1e6 * std::sin(2 * std::numbers::pi * tone_hz * t) + static_cast<double>(n * 7 % 13)));
    }
    block.Show(codes, settings, "tone " + std::to_string(static_cast<int>(tone_hz)));
    window.Refresh();
  }
  for (int wait = 0; wait < 6000 && window.Busy(); ++wait) QTest::qWait(10);
  ASSERT_FALSE(window.Busy());
  EXPECT_EQ(window.ResultsShown(), 1);
  const SpectrumResult& shown = window.Shown();
  ASSERT_FALSE(shown.value.empty()) << shown.message;
  const auto peak = std::max_element(shown.value.begin(), shown.value.end()) - shown.value.begin();
  EXPECT_NEAR(shown.frequency_hz[peak], 210.0, 0.5);
  auto* source = window.findChild<QLabel*>("fig_source");
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->text(), "tone 210");
  auto* fundamental = window.findChild<QLabel*>("fig_tone_frequency_Hz");
  ASSERT_NE(fundamental, nullptr);
  EXPECT_NEAR(fundamental->text().toDouble(), 210.0, 0.01);

  // The density axis is logarithmic and must move from the dBFS range to the density values.
  window.findChild<QComboBox*>("cboShow")->setCurrentIndex(1);
  for (int wait = 0; wait < 6000 && window.Busy(); ++wait) QTest::qWait(10);
  const QCPRange shown_range = window.findChild<QCustomPlot*>()->yAxis->range();
  const double top = *std::max_element(window.Shown().value.begin(), window.Shown().value.end());
  EXPECT_TRUE(shown_range.lower > 0 && shown_range.contains(top)) << shown_range.lower;
}

}  // namespace
}  // namespace korvane
