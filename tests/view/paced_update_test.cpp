#include "app/view/paced_update.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "main_window_fixture.h"

namespace korvane {
namespace {

TEST(PacedUpdate, BurstOfRequestsAppliesOnceNowAndOnceAtTheFrameEnd) {
  int applied = 0;
  PacedUpdate paced([&applied] { ++applied; }, nullptr);
  for (int i = 0; i < 1000; ++i) paced.Request();
  EXPECT_EQ(applied, 1) << "the first request of a quiet frame applies at once";
  QTest::qWait(5 * kRepaintIntervalMs);
  EXPECT_EQ(applied, 2) << "the rest fold into one update";
  QTest::qWait(5 * kRepaintIntervalMs);
  EXPECT_EQ(applied, 2) << "nothing more without requests";
}

TEST_F(MainWindowTest, ReadingDisplayEndsOnTheLastReadingOfABurst) {
  ShowAndSettle();
  for (int i = 0; i < 720; ++i) form.txtDisplay.SetCaption("+0.0000" + std::to_string(1000 + i));
  QTest::qWait(5 * kRepaintIntervalMs);
  EXPECT_EQ(Find<QLabel>("txtDisplay")->text(), "+0.00001719");
}

}  // namespace
}  // namespace korvane
