#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/traffic_listener.h"

namespace korvane {

class CaptureFile;

/// The board's serial link: one RS-232 port whose two modem-control outputs drive the board's
/// programming-reset and run-reset inputs. The receive buffer, traffic capture and traffic
/// listeners live here so that every back-end behaves the same; back-ends only move bytes.
///
/// A port that does not exist, is busy or vanishes behaves like a silent board: opening it
/// leaves it closed, transmissions are dropped, nothing arrives.
class SerialPort {
 public:
  SerialPort();
  virtual ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  virtual bool IsPortOpen() const = 0;
  /// Opens with the port number, settings and line states set before. Whatever an earlier
  /// opening received is gone: it answers nothing sent on this one.
  void OpenPort();
  /// Closes the port and empties its receive buffer, so that a reply heard before cannot pass
  /// for the board's answer after the port was closed (an adapter pulled out, say).
  void ClosePort();

  /// Selects port n (1..256) for the next open.
  void SetCommPort(int n) { port_number_ = n; }
  /// The selected port as text: "COM" + number.
  std::string CommPort() const { return "COM" + std::to_string(port_number_); }

  /// "57600,N,8,1": bit rate, parity, data bits, stop bits; takes effect at the next open.
  void SetPortSettings(std::string settings) { settings_ = std::move(settings); }
  const std::string& PortSettings() const { return settings_; }
  /// The bit rate of the settings text, 0 when it has none.
  int BitRate() const;

  /// The two numeric options that callers clear before every open: bytes per take (0 = all)
  /// and the receive notification threshold (0 = none). Kept for the exchange's assumptions.
  void SetInputLen(int value) { input_len_ = value; }
  void SetReceiveThreshold(int value) { receive_threshold_ = value; }

  /// After the port was lost while open: whether the same adapter is present again (matched by
  /// its serial number or its stable name, not by whatever now sits in its socket), so that
  /// opening the port would reach it.
  virtual bool LostDeviceIsBack() const { return false; }

  virtual void SetProgResetLine(bool on) = 0;
  virtual void SetRunResetLine(bool on) = 0;

  /// Queues text for sending and returns at once.
  void Transmit(std::string_view text);
  /// All text received since the last take; empty when nothing arrived.
  std::string TakeInput();

  /// Captures the traffic of both directions into `file_name`; "" stops the capture.
  void SetCaptureFile(const std::string& file_name);
  void SetCaptureMode(int mode) { capture_mode_ = mode; }
  /// Shows or hides the live traffic view ("CommSpy").
  void ShowTerminal(bool on);

  /// Listeners see every byte in both directions, in order (traffic view, diagnostics).
  void AddTrafficListener(TrafficListener* listener);
  void RemoveTrafficListener(TrafficListener* listener);

 protected:
  /// Back-ends call this for bytes that arrived from the board.
  void DeliverReceived(std::string_view bytes);
  /// Back-ends call this when the port was lost while open (adapter unplugged) and they closed
  /// it; the receive buffer is emptied as by ClosePort.
  void ReportPortLost();
  /// Back-ends call this when opening failed for a reason worth telling the user (a remote
  /// server not reached); the port stays closed.
  void ReportPortNotOpened(std::string_view reason);
  /// Back-ends send the bytes; a closed port drops them.
  virtual void WriteBytes(std::string_view bytes) = 0;
  /// Back-ends open and close their device; the receive buffer is this class's.
  virtual void OpenDevice() = 0;
  virtual void CloseDevice() = 0;

  int port_number_ = 1;
  std::string settings_ = "1200,N,8,1";
  int input_len_ = 0;
  int receive_threshold_ = 0;

 private:
  std::string receive_buffer_;
  std::vector<TrafficListener*> listeners_;
  std::unique_ptr<CaptureFile> capture_;
  int capture_mode_ = 0;
};

}  // namespace korvane
