#pragma once

#include <QSerialPort>
#include <string>
#include <vector>

#include "platform/qt/remote_serial_link.h"
#include "platform/qt/serial_device_identity.h"
#include "platform/serial_port.h"

namespace korvane {

class SettingsStore;
struct LineSettings;

/// A real serial port through QSerialPort, asynchronous: received bytes arrive from the event
/// loop, Transmit queues and returns.
///
/// Port numbers: the settings store may name the device of a number (application
/// "Korvane-DAQ-EVM", section "Ports", key "COM3" = "/dev/ttyUSB0"). Without an entry, port n is
/// "COMn" on Windows; elsewhere numbers count through the serial devices present, USB and ACM
/// adapters first, then by name (see OrderSerialDevices); a number beyond them has no device.
///
/// Reset lines: section "Ports", key "ProgResetLine" = "DTR" (default) or "RTS" names the modem
/// output wired to the board's programming reset; the other output is the run reset. Both are
/// read at each open, and the line states set before the open are applied right after it.
///
/// A missing or busy device, or settings that name no bit rate, leave the port closed without a
/// word. A device that vanishes while
/// open (adapter unplugged) closes the port and is reported once to the traffic listeners; after
/// that the port behaves like a closed one, until the same adapter (by serial number or stable
/// name) is back: the port then opens it under whatever device name it got.
///
/// A port mapped to "rfc2217://host:port" is a serial port on a device server (RemoteSerialLink):
/// the same line settings and reset lines travel over the network. A server that cannot be
/// reached is reported with its reason; a dropped connection is a lost port, back when the
/// server accepts again.
class HardwareSerialPort final : public SerialPort {
 public:
  explicit HardwareSerialPort(SettingsStore& settings_store);
  ~HardwareSerialPort() override;

  bool IsPortOpen() const override;
  void OpenDevice() override;
  void CloseDevice() override;
  void SetProgResetLine(bool on) override;
  void SetRunResetLine(bool on) override;
  bool LostDeviceIsBack() const override;

  /// The device that port `port_number` opens, "" when there is none.
  std::string DeviceForPort(int port_number) const;

 protected:
  void WriteBytes(std::string_view bytes) override;

 private:
  void ApplyLineSettings(const LineSettings& line);
  void ApplyResetLines();
  /// The adapters present now, with what tells them apart.
  static std::vector<SerialDeviceIdentity> PresentDevices();
  /// The device that opening port_number_ reaches: a lost adapter wherever it came back.
  std::string DeviceToOpen() const;
  void OnReadyRead();
  void OnErrorOccurred(QSerialPort::SerialPortError error);

  /// Opens a device server's port instead of a local one.
  void OpenRemote(const std::string& url, const LineSettings& line);

  SettingsStore& settings_store_;
  QSerialPort port_;
  RemoteSerialLink remote_;
  bool prog_reset_on_dtr_ = true;
  bool prog_reset_line_on_ = false;
  bool run_reset_line_on_ = false;
  /// The adapter open now, and the one that went away while open (port 0: none lost).
  SerialDeviceIdentity open_device_;
  SerialDeviceIdentity lost_device_;
  int lost_port_number_ = 0;
};

}  // namespace korvane
