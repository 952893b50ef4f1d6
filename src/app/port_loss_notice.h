#pragma once

#include <string>

#include "form/form.h"
#include "platform/serial_port.h"
#include "platform/traffic_listener.h"

namespace korvane {

/// Tells the user in panel 1 that the board's port went away while open (a USB adapter pulled
/// out). The operation under way then ends as with a silent board and writes its own messages,
/// so the notice is shown again when each user action ends, for as long as the port stays
/// closed. Opening a port again (a reset after plugging the adapter back in) ends the notice.
/// A port that could not be opened for a reason the back-end knows (a device server that is not
/// reached) is told and repeated the same way.
class PortLossNotice final : private TrafficListener {
 public:
  PortLossNotice(Form& form, SerialPort& port);
  ~PortLossNotice() override;
  PortLossNotice(const PortLossNotice&) = delete;
  PortLossNotice& operator=(const PortLossNotice&) = delete;

  /// After a user action: repeats the notice while the lost port has not been opened again.
  void ShowIfStillLost();

  static std::string Text(int port_number);
  static std::string NotOpenedText(int port_number, std::string_view reason);

 private:
  void OnTraffic(TrafficDirection /*direction*/, std::string_view /*bytes*/) override {}
  void OnPortLost(int port_number) override;
  void OnPortNotOpened(int port_number, std::string_view reason) override;

  Form& form_;
  SerialPort& port_;
  int lost_port_ = 0;
  std::string notice_;
};

}  // namespace korvane
