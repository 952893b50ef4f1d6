#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "app/view/repaint_pace.h"
#include "platform/qt/qt_time_base.h"
#include "support/window_on_board.h"

namespace korvane {
namespace {

// The whole program on the real event loop and clock: start-up finds the simulated board, a
// run streams at the link's full speed for a second, and a stop click ends it.
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

  form.cmdCntr[2].Click();
  QTest::qWait(5 * kRepaintIntervalMs);

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
