#include <gtest/gtest.h>

#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <string>
#include <vector>

#include "app/port_loss_notice.h"
#include "form/form.h"
#include "platform/port_mapping.h"
#include "platform/qt/hardware_serial_port.h"
#include "support/fakes.h"

namespace korvane {
namespace {

constexpr int kBound = 5000;  // ms; every wait below ends by then at the latest

class RemoteListener final : public TrafficListener {
 public:
  void OnTraffic(TrafficDirection direction, std::string_view bytes) override {
    if (direction == TrafficDirection::kFromBoard) received.append(bytes);
  }
  void OnPortLost(int port_number) override { lost.push_back(port_number); }
  void OnPortNotOpened(int, std::string_view why) override { reasons.emplace_back(why); }
  std::string received;
  std::vector<int> lost;
  std::vector<std::string> reasons;
};

/// pyserial's RFC 2217 server in front of a fake device that echoes and prints what it sees.
class FakeSerialServer {
 public:
  explicit FakeSerialServer(int port = 0) {
    process_.start(KORVANE_PYTHON3,
                   {KORVANE_INTEROP_DIR "/fake_serial_server.py", QString::number(port)});
    if (process_.waitForReadyRead(kBound)) {
      port_ = process_.readLine().trimmed().split(':').last().toInt();
    }
  }
  ~FakeSerialServer() { Stop(); }
  void Stop() {
    process_.kill();
    process_.waitForFinished(kBound);
  }
  int Port() const { return port_; }
  /// Waits until the device has printed `line`.
  bool Saw(const QByteArray& line) {
    return QTest::qWaitFor(
        [&] {
          log_ += process_.readAllStandardOutput();
          return log_.contains(line + '\n');
        },
        kBound);
  }
  /// The bytes the device was sent, from its "data" lines.
  QByteArray Data() {
    log_ += process_.readAllStandardOutput();
    QByteArray data;
    for (const QByteArray& line : log_.split('\n')) {
      if (line.startsWith("data ")) data += QByteArray::fromHex(line.mid(5));
    }
    return data;
  }

 private:
  QProcess process_;
  QByteArray log_;
  int port_ = 0;
};

struct RemoteRig {
  explicit RemoteRig(const std::string& url) {
    PortMapping(settings).Choose(url);
    port.AddTrafficListener(&listener);
    port.SetCommPort(1);
  }
  void Open(const char* rate) {
    port.SetPortSettings(std::string(rate) + ",N,8,1");
    port.OpenPort();
  }
  testing::MemorySettings settings;
  HardwareSerialPort port{settings};
  RemoteListener listener;
};

std::string Url(int port) {
  return "rfc2217://127.0.0.1:" + std::to_string(port);
}

// The client against pyserial's server: it negotiates, sets the rates the program uses, pulses
// both reset lines, passes every byte value both ways, and survives the server going away: the
// port is lost like a pulled adapter and is back once the server accepts again.
TEST(RemoteSerialPort, WorksWithPyserialServer) {
  FakeSerialServer server;
  ASSERT_GT(server.Port(), 0) << "python3-serial is needed (scripts/install-deps.sh)";
  RemoteRig rig(Url(server.Port()));
  for (const char* rate : {"1200", "9600", "57600"}) {
    rig.Open(rate);
    EXPECT_TRUE(server.Saw(QByteArray("baud ") + rate)) << rate;
  }
  for (const auto& [set, name] : {std::pair{&SerialPort::SetProgResetLine, "dtr"},
                                  std::pair{&SerialPort::SetRunResetLine, "rts"}}) {
    (rig.port.*set)(false);
    EXPECT_TRUE(server.Saw(QByteArray(name) + " 0"));
    (rig.port.*set)(true);
    EXPECT_TRUE(server.Saw(QByteArray(name) + " 1"));
  }
  std::string every_byte;
  for (int value = 0; value < 256; ++value) every_byte += static_cast<char>(value);
  rig.port.Transmit(every_byte);
  EXPECT_TRUE(QTest::qWaitFor([&] { return rig.listener.received.size() >= 256; }, kBound));
  EXPECT_EQ(rig.listener.received, every_byte) << "echoed by the device";
  EXPECT_EQ(server.Data(), QByteArray::fromStdString(every_byte)) << "as the device got them";

  const int port_number = server.Port();
  server.Stop();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.listener.lost.empty(); }, kBound));
  EXPECT_EQ(rig.listener.lost, std::vector<int>{1});
  EXPECT_FALSE(rig.port.IsPortOpen());
  EXPECT_FALSE(rig.port.LostDeviceIsBack());
  FakeSerialServer again(port_number);
  ASSERT_EQ(again.Port(), port_number);
  EXPECT_TRUE(QTest::qWaitFor([&] { return rig.port.LostDeviceIsBack(); }, kBound));
  rig.Open("57600");
  EXPECT_TRUE(again.Saw("baud 57600"));
  EXPECT_TRUE(rig.listener.reasons.empty());
}

// Addresses that lead nowhere or to something else: the port is told not opened, with its reason
// in panel 1, and nothing passes for the board's answer; no wait outlasts the connection's bound.
TEST(RemoteSerialPort, BadAddressesAndServersAreToldAndSilent) {
  QTcpServer other;  // a server of another kind: answers every connection with `reply`
  QByteArray reply;
  bool close_after_reply = false;
  ASSERT_TRUE(other.listen(QHostAddress::LocalHost));
  QObject::connect(&other, &QTcpServer::newConnection, [&] {
    QTcpSocket* socket = other.nextPendingConnection();
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [&, socket] {
      socket->readAll();
      socket->write(reply);
      if (close_after_reply) socket->disconnectFromHost();
    });
  });
  QTcpServer closed;
  ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
  const int refusing_port = closed.serverPort();
  closed.close();
  const std::string other_url = Url(other.serverPort());
  const std::string where = "127.0.0.1:" + std::to_string(other.serverPort());
  QByteArray noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 7919 + 13) % 251);

  struct Case {
    std::string url;
    QByteArray reply;
    bool close_after_reply;
    std::string reason;
  };
  const Case cases[] = {
      {"rfc2217://127.0.0.1", {}, false, "rfc2217://127.0.0.1 is not rfc2217://host:port"},
      {"rfc2217://host:99999", {}, false, "rfc2217://host:99999 is not rfc2217://host:port"},
      {"rfc2217://no-such-host.invalid:4000", {}, false, "host no-such-host.invalid not found"},
      {Url(refusing_port),
       {},
       false,
       "127.0.0.1:" + std::to_string(refusing_port) + " refused the connection"},
      {other_url, "HTTP/1.1 400 Bad Request\r\n\r\n>]", true,
       where + " closed the connection: not an RFC 2217 server"},
      {other_url, noise + ">]", false, where + " does not answer as an RFC 2217 server"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    reply = c.reply;
    close_after_reply = c.close_after_reply;
    RemoteRig rig(c.url);
    Form form;
    PortLossNotice notice(form, rig.port);
    rig.Open("1200");
    rig.port.Transmit("\r");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.listener.reasons.empty(); }, kBound));
    EXPECT_EQ(rig.listener.reasons, std::vector<std::string>{c.reason});
    EXPECT_EQ(form.Panel(1).Text(), "SERIAL  PORT  1  NOT  OPENED:  " + c.reason);
    EXPECT_FALSE(rig.port.IsPortOpen());
    EXPECT_EQ(rig.port.TakeInput(), "") << "nothing of it passes for the board's answer";
    EXPECT_TRUE(rig.listener.received.empty());
  }
}

}  // namespace
}  // namespace korvane
