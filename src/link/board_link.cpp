#include "link/board_link.h"

#include <cctype>
#include <exception>
#include <utility>

namespace korvane {

BoardLink::BoardLink(Form& form, TimeBase& time, SerialPort& port, Dialogs& dialogs)
    : form_(form), time_(time), port_(port), dialogs_(dialogs), timer1_(time, [this] {
        Timer1_Timer();
      }) {}

void BoardLink::SendSlow(std::string_view Comnd) {
  timer1_.Disarm();
  for (const char c : Comnd) {
    port_.Transmit(std::string_view(&c, 1));
    time_.PauseWithoutEvents(kCharacterPause);
  }
  timer1_.Disarm();
}

bool BoardLink::TakeUntil(std::string_view pattern, int ttime, std::string& last_take) {
  timer1_.Arm(ttime);
  form_.TimerExpired = false;
  for (;;) {
    time_.ProcessPendingEvents();
    last_take = port_.TakeInput();
    if (last_take.find(pattern) != std::string::npos || form_.TimerExpired) break;
    time_.WaitForEvents();
  }
  return form_.TimerExpired;
}

bool BoardLink::WaitFor(std::string_view Pattern, int Ttime) {
  std::string take;
  return TakeUntil(Pattern, Ttime, take);
}

bool BoardLink::SendCmd(std::string_view Comnd, int Ttime) {
  DropStaleInput();
  SendSlow(Comnd);
  if (WaitFor("]", Ttime)) return true;
  PumpEvents();
  return false;
}

bool BoardLink::SendProgCmd(std::string_view Comnd, int Ttime) {
  DropStaleInput();
  SendSlow(Comnd);
  if (!WaitFor(">", Ttime)) {
    PumpEvents();
    return false;
  }
  dialogs_.MessageBox(" Error performing serial port command <" + std::string(Comnd) + ">.",
                      MessageIcon::kCritical);
  return true;
}

bool BoardLink::Sread(std::string_view Comnd, std::int32_t& Buf, int Ttime) {
  DropStaleInput();
  SendSlow(Comnd);
  Wait(200);
  std::string take;
  const bool timed_out = TakeUntil(">", Ttime, take);
  Buf = take.size() > 4 ? LeadingHexValue(std::string_view(take).substr(4, 2)) : 0;
  return timed_out;
}

void BoardLink::Wait(std::int32_t timeout) {
  if (timeout <= 0) return;
  const Micros deadline = time_.Now() + Millis{timeout};
  // A wake-up at the deadline keeps the pump from blocking past it; should a clock's timer ever
  // fire a little early, the next turn asks again for the time that is left.
  bool wake_pending = false;
  TimeBase::CallbackId wake = 0;
  while (time_.Now() < deadline) {
    if (!wake_pending) {
      wake_pending = true;
      wake = time_.Schedule(deadline - time_.Now(), [&wake_pending] { wake_pending = false; });
    }
    time_.WaitForEvents();
  }
  if (wake_pending) time_.Cancel(wake);
}

void BoardLink::Delay(int ms) {
  timer1_.Disarm();
  timer1_.Arm(ms);
  form_.TimerExpired = false;
  while (!form_.TimerExpired) time_.WaitForEvents();
  timer1_.Disarm();
}

void BoardLink::BeepFor(int n) {
  if (!form_.Sound) return;
  timer1_.Disarm();
  timer1_.Arm(4 * n);
  form_.TimerExpired = false;
  while (!form_.TimerExpired) {
    dialogs_.Beep();
    time_.WaitForEvents();
  }
  timer1_.Disarm();
}

void BoardLink::Timer1_Timer() {
  form_.TimerExpired = true;
  timer1_.Disarm();
}

void BoardLink::chkTermWindow_Click() {
  port_.ShowTerminal(form_.chkTermWindow.Value() == 1);
}

void BoardLink::ReopenPort(int port_number, const std::string& bit_rate) {
  if (port_.IsPortOpen()) port_.ClosePort();
  port_.SetCommPort(port_number);
  port_.SetRunResetLine(true);
  port_.SetProgResetLine(true);
  port_.SetInputLen(0);
  port_.SetReceiveThreshold(0);
  port_.SetPortSettings(bit_rate + ",N,8,1");
  port_.OpenPort();
}

BoardLink::Exchange::Exchange(BoardLink& link)
    : link_(link), exceptions_at_start_(std::uncaught_exceptions()) {
  ++link_.exchanges_under_way_;
}

BoardLink::Exchange::~Exchange() noexcept(false) {
  --link_.exchanges_under_way_;
  // While the program is being ended nothing more may run.
  if (std::uncaught_exceptions() == exceptions_at_start_) link_.RunQueuedActions();
}

void BoardLink::AfterExchange(std::function<void()> action) {
  after_exchange_.push_back(std::move(action));
  RunQueuedActions();
}

void BoardLink::RunQueuedActions() {
  while (!ExchangeUnderWay() && !after_exchange_.empty()) {
    auto action = std::move(after_exchange_.front());
    after_exchange_.pop_front();
    action();
  }
}

std::int32_t LeadingHexValue(std::string_view text) {
  std::int32_t value = 0;
  for (const char c : text.substr(0, 7)) {  // seven digits always fit
    if (!std::isxdigit(static_cast<unsigned char>(c))) break;
    const int digit = std::isdigit(static_cast<unsigned char>(c))
                          ? c - '0'
                          : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace korvane
