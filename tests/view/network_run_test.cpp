#include <gtest/gtest.h>

#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/view/main_window.h"
#include "form/form.h"
#include "platform/port_mapping.h"
#include "platform/qt/hardware_serial_port.h"
#include "platform/qt/qt_time_base.h"
#include "support/fakes.h"

namespace korvane {
namespace {

// The whole program against korvane-board-server over loopback, through the same path as a board
// on a device server: start-up finds the board on rfc2217://127.0.0.1:PORT (resets travel as
// DTR/RTS commands, the rates as SET-BAUDRATE), a run sets the ADC up, streams for two seconds in
// real time and is stopped.
TEST(NetworkRun, DiscoveryResetSetUpRunAndStopOverRfc2217) {
  QProcess server;
  server.start(KORVANE_BOARD_SERVER_BINARY, {"--listen", "127.0.0.1:0"});
  ASSERT_TRUE(server.waitForReadyRead(5000));
  const std::string address = server.readLine().trimmed().split(' ').last().toStdString();

  QtTimeBase time;
  Form form;
  MainWindow window(form);
  testing::RecordingDialogs dialogs;
  testing::MemorySettings settings;
  testing::FakeProcess process;
  ASSERT_EQ(PortMapping(settings).Choose("rfc2217://" + address), 1);
  HardwareSerialPort port(settings);
  MainForm main(form, PlatformServices{time, port, window.AdcGraph(), window.Histo(), settings,
                                       dialogs, process});
  std::vector<std::string> panel;
  form.Panel(1).SetObserver([&, shown = form.Panel(1).Observer()] {
    if (shown) shown();
    if (panel.empty() || panel.back() != form.Panel(1).Text())
      panel.push_back(form.Panel(1).Text());
  });

  main.Form_Load();
  ASSERT_EQ(form.Panel(1).Text(), "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET");
  EXPECT_EQ(std::count_if(panel.begin(), panel.end(),
                          [](const std::string& text) { return text.starts_with("TRYING"); }),
            1)
      << "found on the mapped port, the first tried";

  QTimer stop;
  stop.setSingleShot(true);
  QObject::connect(&stop, &QTimer::timeout, [&] { form.cmdCntr[2].Click(); });
  form.Panel(1).SetObserver([&, shown = form.Panel(1).Observer()] {
    if (shown) shown();
    if (form.Panel(1).Text() == "GETTING  ADC  CODE " && !stop.isActive()) stop.start(2000);
  });
  form.cmdCntr[2].Click();

  EXPECT_NE(std::find(panel.begin(), panel.end(), "Korvane ADC IS SET"), panel.end());
  EXPECT_EQ(form.Panel(1).Text(), "ADC  CONVERSION  IS  FINISHED ");
  EXPECT_GT(main.run().ReadingsUsed(), 0) << "readings streamed over the network";
  EXPECT_EQ(form.cmdCntr[2].Caption(), "Run &ADC");
  EXPECT_TRUE(dialogs.messages.empty());
  server.kill();
  server.waitForFinished();
}

}  // namespace
}  // namespace korvane
