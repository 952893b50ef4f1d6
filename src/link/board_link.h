#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "form/form.h"
#include "link/one_shot_timer.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "platform/time_base.h"

namespace korvane {

/// The exchange primitives with the board's two command interpreters: paced sending, waiting
/// for a prompt on the shared one-shot timer, register reads, waits and beeps. Exchanges return
/// true when they failed (timed out). Every wait but the character pause runs the event pump, so
/// other handlers run inside it.
class BoardLink {
 public:
  BoardLink(Form& form, TimeBase& time, SerialPort& port, Dialogs& dialogs);

  /// Sends one character at a time with a short pause after each; pumps nothing.
  void SendSlow(std::string_view Comnd);
  /// Takes received text until a take holds `Pattern` or `Timer1` expires; true on time-out.
  bool WaitFor(std::string_view Pattern, int Ttime);
  /// Command to the loaded board program; true when no "]" came within `Ttime` ms.
  bool SendCmd(std::string_view Comnd, int Ttime);
  /// Command to the programming mode; true (after a critical message) when no ">" came.
  bool SendProgCmd(std::string_view Comnd, int Ttime);
  /// Register read: the reply's characters 5 and 6 as hexadecimal into `Buf`.
  bool Sread(std::string_view Comnd, std::int32_t& Buf, int Ttime);
  /// Waits `timeout` ms while running events; 0 or less returns at once without pumping.
  void Wait(std::int32_t timeout);
  /// Waits `ms` on `Timer1` while running events.
  void Delay(int ms);
  /// Beeps for 4 x n ms when `Sound` is set.
  void BeepFor(int n);
  void DisarmTimer() { timer1_.Disarm(); }
  /// Expiry of `Timer1`.
  void Timer1_Timer();
  /// "CommSpy": shows or hides the traffic view.
  void chkTermWindow_Click();

  /// Runs the pending user-interface events once.
  void PumpEvents() { time_.ProcessPendingEvents(); }
  /// Blocks until at least one event has run: serial data, a timer or a user action.
  void WaitForEvents() { time_.WaitForEvents(); }

  OneShotTimer& Timer1() { return timer1_; }
  SerialPort& SaxComm1() { return port_; }
  Dialogs& Messages() { return dialogs_; }

  /// A sequence of exchanges with the board (search, reset, load, set-up, run, DAC load) is under
  /// way from its construction to its end. Sequences pump events, so a click could otherwise
  /// start a second one whose commands and replies would mix with the first one's.
  class Exchange {
   public:
    explicit Exchange(BoardLink& link);
    /// When the outermost sequence ends, the actions queued with AfterExchange run.
    ~Exchange() noexcept(false);
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;

   private:
    BoardLink& link_;
    int exceptions_at_start_;
  };
  /// Whether a sequence of exchanges is under way; controls that start one refuse meanwhile.
  bool ExchangeUnderWay() const { return exchanges_under_way_ > 0; }
  /// Runs `action` once no sequence is under way: at once when none is.
  void AfterExchange(std::function<void()> action);

  /// Opens the port afresh: closes it when open, selects `port_number`, both reset lines on, the
  /// two numeric options 0, `bit_rate` + ",N,8,1", then opens.
  void ReopenPort(int port_number, const std::string& bit_rate);

  /// The character pause of SendSlow.
  static constexpr Micros kCharacterPause{200};

 private:
  /// Arms `Timer1`, then takes input pass by pass until a take holds `pattern` or the timer
  /// expires; the last take is left in `last_take`. True on time-out.
  bool TakeUntil(std::string_view pattern, int ttime, std::string& last_take);
  /// What is still in the receive buffer was said before this command, so it answers nothing
  /// of it: a late "]" or ">" there would otherwise acknowledge a command the board never took.
  void DropStaleInput() { port_.TakeInput(); }
  void RunQueuedActions();

  Form& form_;
  TimeBase& time_;
  SerialPort& port_;
  Dialogs& dialogs_;
  OneShotTimer timer1_;
  int exchanges_under_way_ = 0;
  std::deque<std::function<void()>> after_exchange_;
};

/// The value of the hexadecimal digits at the start of `text` (stops at the first other
/// character); 0 when there is none.
std::int32_t LeadingHexValue(std::string_view text);

}  // namespace korvane
