#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include "app/view/qt_chart.h"
#include "app/view/repaint_pace.h"
#include "platform/qt/qt_time_base.h"
#include "support/window_on_board.h"

namespace korvane {
namespace {

// The whole program on the real event loop and clock: start-up finds the simulated board, a
// run streams at the link's full speed behind a paused time graph until its first block closes, and
// a stop click ends it; resuming shows the block the run had reached.
TEST(RealTimeRun, StreamAtFullSpeedInTheRealWindow) {
  testing::WindowOnBoard<QtTimeBase> rig(BoardOptions{}, SimulatedSerialPort::kFirstPortOpened);
  auto& form = rig.form;
  rig.main.Form_Load();
  ASSERT_EQ(form.Panel(1).Text(), "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET");
  form.txtDecimation.SetText("1");
  form.txtAverNumb.SetText("200");
  // The stop click comes once the first block of 200 is closed, however busy the machine is,
  // or after 30 s at the latest.
  const auto& run = rig.main.run();
  QTimer watch;
  QElapsedTimer since_start;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (run.ReadingsUsed() < 201 && since_start.elapsed() < 30'000) return;
    watch.stop();
    form.cmdCntr[2].Click();
  });
  rig.OnMessage("GETTING  ADC  CODE ", [&] {
    since_start.start();
    watch.start(20);
  });

  auto* graph = rig.Find<QtChart>("ADCGraph");
  auto* pause = rig.Find<QAction>("mnuGraphPause");
  pause->trigger();
  const int shown_before = graph->graph(0)->dataCount();

  form.cmdCntr[2].Click();
  QTest::qWait(5 * kRepaintIntervalMs);
  EXPECT_EQ(graph->graph(0)->dataCount(), shown_before) << "the paused graph stays as it was";
  ASSERT_EQ(graph->PointCount(), 201) << "while the run's blocks are collected";
  pause->trigger();
  // On a busy machine the resumed repaint may take longer than a few frames.
  ASSERT_TRUE(QTest::qWaitFor([&] { return graph->graph(0)->dataCount() == 201; }, 5000));
  EXPECT_EQ(graph->graph(0)->data()->at(200)->value, graph->PointY(0, 200));

  EXPECT_GT(run.ReadingsUsed(), 200) << "a block of 200 was closed";
  EXPECT_EQ(run.ReadingsUsed(), run.ReadingsTaken() - 4);
  EXPECT_NE(form.txtDeviation.Text(), "0.0") << "blocks of 200 were closed";
  EXPECT_EQ(form.Panel(1).Text(), "ADC  CONVERSION  IS  FINISHED ");
  EXPECT_EQ(form.cmdCntr[2].Caption(), "Run &ADC");
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

}  // namespace
}  // namespace korvane
