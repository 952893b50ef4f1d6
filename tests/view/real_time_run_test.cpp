#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "app/main_form.h"
#include "app/view/main_window.h"
#include "app/view/repaint_pace.h"
#include "board/simulated_board.h"
#include "board/simulated_serial_port.h"
#include "form/form.h"
#include "platform/qt/qt_time_base.h"
#include "support/fakes.h"

namespace korvane {
namespace {

// The whole program on the real event loop and clock: start-up finds the simulated board, a
// run streams at the link's full speed for a second, and a stop click ends it.
TEST(RealTimeRun, StreamAtFullSpeedInTheRealWindow) {
  QtTimeBase time;
  Form form;
  MainWindow window(form);
  window.resize(1280, 800);
  testing::RecordingDialogs dialogs;
  testing::MemorySettings settings;
  testing::FakeProcess process;
  SimulatedBoard board(time, BoardOptions{});
  SimulatedSerialPort port(time, board, SimulatedSerialPort::kFirstPortOpened);
  MainForm main_form(form, PlatformServices{time, port, window.AdcGraph(), window.Histo(), settings,
                                            dialogs, process});
  window.show();

  main_form.Form_Load();
  ASSERT_EQ(form.Panel(1).Text(), "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET");
  form.txtDecimation.SetText("1");
  form.txtAverNumb.SetText("200");
  QTimer stop;
  stop.setSingleShot(true);
  QObject::connect(&stop, &QTimer::timeout, [&form] { form.cmdCntr[2].Click(); });
  form.Panel(1).SetObserver([&, observer = form.Panel(1).Observer()] {
    if (observer) observer();
    if (form.Panel(1).Text() == "GETTING  ADC  CODE ") stop.start(1000);
  });

  form.cmdCntr[2].Click();
  QTest::qWait(5 * kRepaintIntervalMs);

  const auto& run = main_form.run();
  EXPECT_GT(run.ReadingsTaken(), 200) << "hundreds of readings a second";
  EXPECT_EQ(run.ReadingsUsed(), run.ReadingsTaken() - 4);
  EXPECT_NE(form.txtDeviation.Text(), "0.0") << "blocks of 200 were closed";
  EXPECT_EQ(form.Panel(1).Text(), "ADC  CONVERSION  IS  FINISHED ");
  EXPECT_EQ(form.cmdCntr[2].Caption(), "Run &ADC");
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(window.findChild<QLabel*>("txtDisplay")->text().toStdString(),
            form.txtDisplay.Caption())
      << "the paced display ends on the last reading";
}

}  // namespace
}  // namespace korvane
