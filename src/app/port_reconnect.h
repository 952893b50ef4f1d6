#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/serial_port.h"
#include "platform/time_base.h"
#include "platform/traffic_listener.h"

namespace korvane {

/// Picks the board up again after its adapter was pulled out: from the loss on, it looks a few
/// times a second whether the same adapter is back and then hands over to `on_back`, which
/// reopens the port through a reset. It looks no more once the adapter is back, or once the
/// lost port was opened again some other way (a RESET clicked by the user).
class PortReconnect final : private TrafficListener {
 public:
  /// How often it looks: the reset starts well within 2 s of the adapter's return.
  static constexpr Millis kWatchPeriod{300};

  PortReconnect(TimeBase& time, SerialPort& port, std::function<void(int)> on_back);
  ~PortReconnect() override;
  PortReconnect(const PortReconnect&) = delete;
  PortReconnect& operator=(const PortReconnect&) = delete;

  /// Panel 1 once the returned adapter's board is reset.
  static std::string Text(int port_number);

 private:
  void OnTraffic(TrafficDirection /*direction*/, std::string_view /*bytes*/) override {}
  void OnPortLost(int port_number) override;
  void Look();
  void StopWatching();

  TimeBase& time_;
  SerialPort& port_;
  std::function<void(int)> on_back_;
  int lost_port_ = 0;
  std::optional<TimeBase::CallbackId> next_look_;
};

}  // namespace korvane
