#include "app/port_reconnect.h"

namespace korvane {

PortReconnect::PortReconnect(TimeBase& time, SerialPort& port, std::function<void(int)> on_back)
    : time_(time), port_(port), on_back_(std::move(on_back)) {
  port_.AddTrafficListener(this);
}

PortReconnect::~PortReconnect() {
  StopWatching();
  port_.RemoveTrafficListener(this);
}

std::string PortReconnect::Text(int port_number) {
  return "SERIAL  PORT  " + std::to_string(port_number) +
         "  IS  BACK  AND  Korvane  IS  RESET  AGAIN";
}

void PortReconnect::OnPortLost(int port_number) {
  StopWatching();
  lost_port_ = port_number;
  next_look_ = time_.Schedule(kWatchPeriod, [this] { Look(); });
}

void PortReconnect::Look() {
  next_look_.reset();
  const int port_number = lost_port_;
  if (port_.IsPortOpen() && port_.CommPort() == "COM" + std::to_string(port_number)) {
    lost_port_ = 0;
    return;
  }
  if (port_.LostDeviceIsBack()) {
    lost_port_ = 0;
    on_back_(port_number);
    return;
  }
  next_look_ = time_.Schedule(kWatchPeriod, [this] { Look(); });
}

void PortReconnect::StopWatching() {
  if (next_look_) time_.Cancel(*next_look_);
  next_look_.reset();
  lost_port_ = 0;
}

}  // namespace korvane
