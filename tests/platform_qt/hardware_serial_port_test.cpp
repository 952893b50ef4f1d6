#include "platform/qt/hardware_serial_port.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/port_mapping.h"
#include "platform/qt/qt_time_base.h"
#include "platform/qt/serial_device_identity.h"
#include "support/fakes.h"

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace korvane {
namespace {

using std::chrono::milliseconds;

class RecordingListener final : public TrafficListener {
 public:
  void OnTraffic(TrafficDirection direction, std::string_view bytes) override {
    (direction == TrafficDirection::kToBoard ? sent : received).append(bytes);
  }
  void OnPortLost(int port_number) override { lost_ports.push_back(port_number); }

  std::string sent;
  std::string received;
  std::vector<int> lost_ports;
};

TEST(QtSerialDeviceIdentityTest, AReturnedAdapterIsKnownByItsStableNameOrSerialNumber) {
  const std::string by_id = "/dev/serial/by-id/usb-FTDI_A10KZP4M-if00-port0";
  const std::vector<SerialDeviceIdentity> present = {
      {"/dev/ttyS0", "", ""}, {"/dev/ttyUSB0", "B77", ""}, {"/dev/ttyUSB1", "A10KZP4M", by_id}};
  const std::tuple<SerialDeviceIdentity, std::string> cases[] = {
      {{"/dev/ttyUSB0", "A10KZP4M", by_id}, "/dev/ttyUSB1"},  // back in another socket
      {{"/dev/ttyUSB3", "B77", ""}, "/dev/ttyUSB0"},
      {{"/dev/ttyUSB0", "C1", "/dev/serial/by-id/usb-other"}, ""},  // another adapter there now
      {{"/dev/ttyS0", "", ""}, ""},  // nothing tells it from a stranger in its socket
  };
  for (const auto& [lost, found] : cases) EXPECT_EQ(FindSameDevice(lost, present), found);

  // A name of its own: other builds of the program may run this test at the same time.
  const auto root = std::filesystem::temp_directory_path() /
                    ("korvane-by-id-test-" +
                     std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  const auto device = (root / "dev" / "ttyUSB7").string();
  const auto by_id_folder = (root / "by-id").string();
  const auto stable = (root / "by-id" / "usb-Board_X1-if00").string();
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "dev");
  std::filesystem::create_directories(by_id_folder);
  { std::ofstream{device}; }
  std::filesystem::create_symlink("../dev/ttyUSB7", stable);
  EXPECT_EQ(ByIdNameOf(device, by_id_folder), stable);
  EXPECT_EQ(ByIdNameOf("/nonexistent/ttyUSB9", by_id_folder), "");
  EXPECT_EQ(MappingNameFor(device, by_id_folder), stable);
  EXPECT_EQ(MappingNameFor(stable, by_id_folder), stable);
  EXPECT_EQ(MappingNameFor("/dev/ttyS3", by_id_folder), "/dev/ttyS3");
  std::filesystem::remove_all(root);
}

TEST(PortMappingTest, ListsPresentAndMappedPortsAndMapsAChoiceByItsStableName) {
  testing::MemorySettings settings;
  const std::string by_id = "/dev/serial/by-id/usb-FTDI_A10KZP4M-if00-port0";
  settings.values["Korvane-DAQ-EVM/Ports/COM1"] = "/dev/ttyS0";
  settings.values["Korvane-DAQ-EVM/Ports/COM2"] = "rfc2217://lab-server:4001";
  settings.values["Korvane-DAQ-EVM/Ports/COM4"] = by_id;
  PortMapping mapping(settings);
  const std::vector<PresentSerialDevice> present = {
      {"/dev/ttyUSB1", "FT232R", "FTDI", "A10KZP4M", by_id},
      {"/dev/ttyACM0", "", "", "", ""},
      {"/dev/ttyUSB2", "", "", "", "/dev/serial/by-id/usb-B"}};
  const std::vector<std::tuple<int, std::string, std::string>> listed = {
      {4, by_id, "/dev/ttyUSB1"},
      {0, "/dev/ttyACM0", "/dev/ttyACM0"},
      {0, "/dev/serial/by-id/usb-B", "/dev/ttyUSB2"},
      {1, "/dev/ttyS0", ""},
      {2, "rfc2217://lab-server:4001", ""}};
  std::vector<std::tuple<int, std::string, std::string>> shown;
  for (const auto& entry : mapping.List(present)) {
    shown.emplace_back(entry.port_number, entry.mapped_to, entry.device.location);
  }
  EXPECT_EQ(shown, listed);

  const std::tuple<std::string, int> choices[] = {
      {by_id, 4}, {"/dev/ttyACM0", 3}, {"/dev/ttyUSB5", 5}, {"/dev/ttyACM0", 3}};
  for (const auto& [name, number] : choices) {
    EXPECT_EQ(mapping.Choose(name), number) << name;
    EXPECT_EQ(settings.values["Korvane-DAQ-EVM/Ports/COM" + std::to_string(number)], name);
    EXPECT_EQ(settings.values["Korvane-DAQ-EVM/Settings/ComPort"], "COM" + std::to_string(number));
  }
  EXPECT_EQ(PortMapping(settings).Mapped().size(), 5u) << "the choices are in the settings";
}

TEST(QtHardwareSerialPortTest, MissingDeviceBehavesLikeASilentBoard) {
  testing::MemorySettings settings;
  settings.Write("Korvane-DAQ-EVM", "Ports", "COM7", "/dev/does-not-exist");
  HardwareSerialPort port(settings);
  RecordingListener listener;
  port.AddTrafficListener(&listener);
  EXPECT_EQ(port.DeviceForPort(7), "/dev/does-not-exist");
  EXPECT_EQ(port.DeviceForPort(0), "");
#ifndef Q_OS_WIN
  EXPECT_EQ(port.DeviceForPort(256), "") << "far beyond any device present, and not mapped";
#endif
  for (const int number : {7, 256}) {
    port.SetCommPort(number);
    port.SetPortSettings("57600,N,8,1");
    port.SetProgResetLine(true);
    port.OpenPort();
    EXPECT_FALSE(port.IsPortOpen());
    port.Transmit("RRCA");
    QtTimeBase().ProcessPendingEvents();
    EXPECT_EQ(port.TakeInput(), "");
    EXPECT_EQ(listener.sent, "");
    EXPECT_TRUE(listener.lost_ports.empty());
    port.ClosePort();  // closing a port that never opened is harmless
  }
}

#ifdef Q_OS_LINUX

/// The master side of a pseudo-terminal: the "board" at the other end of the port.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    if (const char* name = ptsname(master_)) device_ = name;
  }
  ~PseudoTerminal() { CloseMaster(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& Device() const { return device_; }
  void CloseMaster() {
    if (master_ >= 0) close(master_);
    master_ = -1;
  }
  bool Send(std::string_view bytes) {
    return write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  /// Whatever the port has sent so far, without waiting.
  std::string ReadAvailable() {
    std::string received;
    char buffer[256];
    ssize_t count = 0;
    while (master_ >= 0 && (count = read(master_, buffer, sizeof buffer)) > 0) {
      received.append(buffer, static_cast<std::size_t>(count));
    }
    return received;
  }
  /// The line settings of the port side as the system has them.
  termios PortSideSettings() const {
    termios settings{};
    tcgetattr(master_, &settings);
    return settings;
  }

 private:
  int master_ = -1;
  std::string device_;
};

/// Pumps events until `done` or `limit` has passed.
template <typename Done>
bool PumpUntil(QtTimeBase& time, Done done, Micros limit = milliseconds(2000)) {
  const Micros give_up = time.Now() + limit;
  const auto guard = time.Schedule(limit, [] {});
  while (!done() && time.Now() < give_up) {
    time.Schedule(milliseconds(5), [] {});
    time.WaitForEvents();
  }
  time.Cancel(guard);
  return done();
}

/// A port mapped to a pseudo-terminal whose other side plays the board.
class QtPseudoTerminalPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (board.Device().empty()) GTEST_SKIP() << "no pseudo-terminal on this machine";
    settings.Write("Korvane-DAQ-EVM", "Ports", "COM5", board.Device());
    port.AddTrafficListener(&listener);
    port.SetCommPort(5);
  }

  PseudoTerminal board;
  testing::MemorySettings settings;
  HardwareSerialPort port{settings};
  RecordingListener listener;
  QtTimeBase time;
};

TEST_F(QtPseudoTerminalPortTest, BytesTravelBothWaysThroughAPseudoTerminal) {
  port.SetPortSettings(",N,8,1");  // no bit rate: like a missing device, never a default rate
  port.OpenPort();
  EXPECT_FALSE(port.IsPortOpen());
  port.Transmit("M0000\r");
  EXPECT_EQ(board.ReadAvailable(), "");
  // A pseudo-terminal keeps rate and stop bits but always reads back 8 bits without parity.
  for (const auto& [text, speed, two_stop_bits] :
       {std::tuple{"9600,E,7,2", B9600, true}, std::tuple{"57600,N,8,1", B57600, false}}) {
    port.ClosePort();
    EXPECT_FALSE(port.IsPortOpen());
    port.SetPortSettings(text);
    port.OpenPort();
    ASSERT_TRUE(port.IsPortOpen());
    const termios line = board.PortSideSettings();
    EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(speed));
    EXPECT_EQ((line.c_cflag & CSTOPB) != 0, two_stop_bits);
  }
  HardwareSerialPort second_program(settings);
  second_program.SetCommPort(5);
  second_program.OpenPort();
  EXPECT_FALSE(second_program.IsPortOpen()) << "a port in use must stay closed";

  port.Transmit("RRCA");
  port.Transmit(std::string("\r\0\xFF", 3));
  std::string arrived;
  PumpUntil(time, [&] { return (arrived += board.ReadAvailable()).size() >= 7; });
  EXPECT_EQ(arrived, std::string("RRCA\r\0\xFF", 7));

  const std::string reply = "RRCA3F\r\n>\x80";
  ASSERT_TRUE(board.Send(reply));
  std::string taken;
  PumpUntil(time, [&] { return (taken += port.TakeInput()).size() >= reply.size(); });
  EXPECT_EQ(taken, reply);
  EXPECT_EQ(port.TakeInput(), "");
  EXPECT_EQ(listener.sent, std::string("RRCA\r\0\xFF", 7));
  EXPECT_EQ(listener.received, reply);
  EXPECT_TRUE(listener.lost_ports.empty());
}

TEST_F(QtPseudoTerminalPortTest, VanishedDeviceClosesThePortAndIsReportedOnce) {
  port.OpenPort();
  ASSERT_TRUE(port.IsPortOpen());

  board.CloseMaster();  // the adapter is pulled out
  EXPECT_TRUE(PumpUntil(time, [&] { return !port.IsPortOpen(); }));
  EXPECT_EQ(listener.lost_ports, std::vector<int>{5});

  port.Transmit("RRCA");
  PumpUntil(
      time, [] { return false; }, milliseconds(100));
  EXPECT_EQ(port.TakeInput(), "");
  EXPECT_EQ(listener.sent, "");
  EXPECT_EQ(listener.lost_ports, std::vector<int>{5});
}

#endif  // Q_OS_LINUX

}  // namespace
}  // namespace korvane
