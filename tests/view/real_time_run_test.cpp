#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <QTimer>

#include "app/view/qt_chart.h"
#include "app/view/repaint_pace.h"
#include "platform/qt/qt_time_base.h"
#include "support/window_on_board.h"

namespace korvane {
namespace {

// The whole program on the real event loop and clock: start-up finds the simulated board, a
// run streams at the link's full speed for a second behind a paused time graph, and a stop click
// ends it; resuming shows the block the run had reached.
TEST(RealTimeRun, StreamAtFullSpeedInTheRealWindow) {
  testing::WindowOnBoard<QtTimeBase> rig(BoardOptions{}, SimulatedSerialPort::kFirstPortOpened);
  auto& form = rig.form;
  rig.main.Form_Load();
  ASSERT_EQ(form.Panel(1).Text(), "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET");
  form.txtDecimation.SetText("1");
  form.txtAverNumb.SetText("200");
  QTimer stop;
  stop.setSingleShot(true);
  QObject::connect(&stop, &QTimer::timeout, [&form] { form.cmdCntr[2].Click(); });
  rig.OnMessage("GETTING  ADC  CODE ", [&stop] { stop.start(1000); });

  auto* graph = rig.Find<QtChart>("ADCGraph");
  auto* pause = rig.Find<QAction>("mnuGraphPause");
  pause->trigger();
  const int shown_before = graph->graph(0)->dataCount();

  form.cmdCntr[2].Click();
  QTest::qWait(5 * kRepaintIntervalMs);
  EXPECT_EQ(graph->graph(0)->dataCount(), shown_before) << "the paused graph stays as it was";
  ASSERT_EQ(graph->PointCount(), 201) << "while the run's blocks are collected";
  pause->trigger();
  QTest::qWait(5 * kRepaintIntervalMs);
  ASSERT_EQ(graph->graph(0)->dataCount(), 201);
  EXPECT_EQ(graph->graph(0)->data()->at(200)->value, graph->PointY(0, 200));

  const auto& run = rig.main.run();
  EXPECT_GT(run.ReadingsTaken(), 200) << "hundreds of readings a second";
  EXPECT_EQ(run.ReadingsUsed(), run.ReadingsTaken() - 4);
  EXPECT_NE(form.txtDeviation.Text(), "0.0") << "blocks of 200 were closed";
  EXPECT_EQ(form.Panel(1).Text(), "ADC  CONVERSION  IS  FINISHED ");
  EXPECT_EQ(form.cmdCntr[2].Caption(), "Run &ADC");
  EXPECT_TRUE(rig.dialogs.messages.empty());
}

}  // namespace
}  // namespace korvane
