#pragma once

#include <QSerialPort>
#include <string>

#include "platform/serial_port.h"

namespace korvane {

class SettingsStore;
struct LineSettings;

/// A real serial port through QSerialPort, asynchronous: received bytes arrive from the event
/// loop, Transmit queues and returns.
///
/// Port numbers: on Windows port n is "COMn". Elsewhere the settings store may name the device of
/// a number (application "Korvane-DAQ-EVM", section "Ports", key "COM3" = "/dev/ttyUSB0");
/// numbers without an entry count through the serial devices present, USB and ACM adapters
/// first, then by name (see OrderSerialDevices); a number beyond them has no device.
///
/// Reset lines: section "Ports", key "ProgResetLine" = "DTR" (default) or "RTS" names the modem
/// output wired to the board's programming reset; the other output is the run reset. Both are
/// read at each open, and the line states set before the open are applied right after it.
///
/// A missing or busy device, or settings that name no bit rate, leave the port closed without a
/// word. A device that vanishes while
/// open (adapter unplugged) closes the port and is reported once to the traffic listeners; after
/// that the port behaves like a closed one.
class HardwareSerialPort final : public SerialPort {
 public:
  explicit HardwareSerialPort(SettingsStore& settings_store);
  ~HardwareSerialPort() override;

  bool IsPortOpen() const override;
  void OpenDevice() override;
  void CloseDevice() override;
  void SetProgResetLine(bool on) override;
  void SetRunResetLine(bool on) override;

  /// The device that port `port_number` opens, "" when there is none.
  std::string DeviceForPort(int port_number) const;

 protected:
  void WriteBytes(std::string_view bytes) override;

 private:
  void ApplyLineSettings(const LineSettings& line);
  void ApplyResetLines();
  void OnReadyRead();
  void OnErrorOccurred(QSerialPort::SerialPortError error);

  SettingsStore& settings_store_;
  QSerialPort port_;
  bool prog_reset_on_dtr_ = true;
  bool prog_reset_line_on_ = false;
  bool run_reset_line_on_ = false;
};

}  // namespace korvane
