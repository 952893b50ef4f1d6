#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/port_loss_notice.h"
#include "app/port_reconnect.h"
#include "app/view/main_window.h"
#include "form/form.h"
#include "platform/port_mapping.h"
#include "platform/qt/hardware_serial_port.h"
#include "platform/qt/qt_time_base.h"
#include "support/fakes.h"

namespace korvane {
namespace {

/// The network between the program and the board server: it can go away (every connection cut,
/// nothing listening) and come back on the same port, while the board keeps its power.
class Network {
 public:
  explicit Network(quint16 server_port) : server_port_(server_port) {
    QObject::connect(&listener_, &QTcpServer::newConnection, [this] { Accept(); });
  }
  bool Up(quint16 port = 0) { return listener_.listen(QHostAddress::LocalHost, port); }
  quint16 Port() const { return listener_.serverPort(); }
  void GoAway() {
    listener_.close();
    for (QTcpSocket* socket : listener_.findChildren<QTcpSocket*>()) socket->abort();
  }

 private:
  void Accept() {
    while (QTcpSocket* near = listener_.nextPendingConnection()) {
      auto* far = new QTcpSocket(&listener_);
      far->connectToHost(QHostAddress::LocalHost, server_port_);
      for (auto [from, to] : {std::pair{near, far}, std::pair{far, near}}) {
        QObject::connect(from, &QTcpSocket::readyRead, to,
                         [from, to] { to->write(from->readAll()); });
        QObject::connect(from, &QTcpSocket::disconnected, to, [to] { to->disconnectFromHost(); });
      }
    }
  }

  QTcpServer listener_;
  quint16 server_port_;
};

// The whole program against korvane-board-server over loopback, through the same path as a board
// on a device server: start-up finds the board on rfc2217://127.0.0.1:PORT (resets travel as
// DTR/RTS commands, the rates as SET-BAUDRATE), a run sets the ADC up, streams for two seconds in
// real time and is stopped. Then the network goes away, which is a pulled adapter, and comes back
// on the same address: the program opens the port again and resets the board on its own.
TEST(NetworkRun, DiscoveryResetSetUpRunAndStopOverRfc2217) {
  QProcess server;
  server.start(KORVANE_BOARD_SERVER_BINARY, {"--listen", "127.0.0.1:0"});
  ASSERT_TRUE(server.waitForReadyRead(5000));
  const quint16 server_port = server.readLine().trimmed().split(':').last().toUShort();
  Network network(server_port);
  ASSERT_TRUE(network.Up());
  const std::string address = "127.0.0.1:" + std::to_string(network.Port());

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
  QElapsedTimer since_return;  // started when the network is back
  qint64 reset_started_ms = -1;
  form.Panel(1).SetObserver([&, shown = form.Panel(1).Observer()] {
    if (shown) shown();
    if (since_return.isValid() && reset_started_ms < 0 &&
        form.Panel(1).Text().ends_with("RESET STARTED  ")) {
      reset_started_ms = since_return.elapsed();
    }
    panel.push_back(form.Panel(1).Text());
  });

  main.Form_Load();
  ASSERT_EQ(form.Panel(1).Text(), "SERIAL PORT 1 AT  57600 BAUD, AND  Korvane  IS  RESET");
  EXPECT_EQ(std::count(panel.begin(), panel.end(), "TRYING  SERIAL  PORT  2  "), 0)
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
  EXPECT_TRUE(dialogs.messages.empty());

  const quint16 port_used = network.Port();
  network.GoAway();
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return form.Panel(1).Text() == PortLossNotice::Text(1); }, 5000));
  QTest::qWait(1000);  // the program looks for the server a few times in vain
  ASSERT_TRUE(network.Up(port_used));
  since_return.start();
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return form.Panel(1).Text() == PortReconnect::Text(1); }, 10000));
  // Shown, not asserted: the reset starts within 2 s of the network's return; its own pauses
  // take the rest.
  RecordProperty("reset_started_after_ms", static_cast<int>(reset_started_ms));
  RecordProperty("back_and_reset_after_ms", static_cast<int>(since_return.elapsed()));
  server.kill();
  server.waitForFinished();
}

}  // namespace
}  // namespace korvane
