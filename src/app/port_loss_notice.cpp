#include "app/port_loss_notice.h"

namespace korvane {

PortLossNotice::PortLossNotice(Form& form, SerialPort& port) : form_(form), port_(port) {
  port_.AddTrafficListener(this);
}

PortLossNotice::~PortLossNotice() {
  port_.RemoveTrafficListener(this);
}

std::string PortLossNotice::Text(int port_number) {
  return "SERIAL  PORT  " + std::to_string(port_number) +
         "  IS  LOST,  CONNECT  IT  AND  PRESS  RESET";
}

std::string PortLossNotice::NotOpenedText(int port_number, std::string_view reason) {
  return "SERIAL  PORT  " + std::to_string(port_number) + "  NOT  OPENED:  " + std::string(reason);
}

void PortLossNotice::OnPortLost(int port_number) {
  lost_port_ = port_number;
  notice_ = Text(port_number);
  form_.Panel(1).SetText(notice_);
}

void PortLossNotice::OnPortNotOpened(int port_number, std::string_view reason) {
  lost_port_ = port_number;
  notice_ = NotOpenedText(port_number, reason);
  form_.Panel(1).SetText(notice_);
}

void PortLossNotice::ShowIfStillLost() {
  if (lost_port_ == 0) return;
  if (port_.IsPortOpen()) {
    lost_port_ = 0;
    return;
  }
  form_.Panel(1).SetText(notice_);
}

}  // namespace korvane
