#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/time_base.h"

namespace korvane {

/// One direction of a serial line: bytes take their time on the wire, one after the other, and
/// reach the receiver when their stop bit has passed. A receiver whose UART runs at another rate
/// reads each sent run of bytes as its UART would (ReadAtRate), at the rate it has when the bytes
/// are sent; a receiver not listening (rate 0) gets the bytes as sent, tagged with their rate. One
/// pending callback serves the whole queue: when it fires it delivers every byte that has arrived
/// by then and schedules itself for the next, so bulk transfers cost a handful of callbacks, not
/// one per byte.
class TimedByteQueue {
 public:
  /// `heard_at_rate`: the UART rate the bytes were read at (the sender's when not re-read).
  using Receiver = std::function<void(std::string_view bytes, int heard_at_rate)>;
  /// The receiving UART's rate now; 0 when it does not listen.
  using ReceiverRate = std::function<int()>;

  TimedByteQueue(TimeBase& time, Receiver receiver, ReceiverRate receiver_rate);
  ~TimedByteQueue();
  TimedByteQueue(const TimedByteQueue&) = delete;
  TimedByteQueue& operator=(const TimedByteQueue&) = delete;

  /// Puts bytes on the line after those already on it, at `bit_rate`; a rate <= 0 drops them.
  void Send(std::string_view bytes, int bit_rate);
  /// Drops every byte still on the line.
  void Clear();
  bool IsEmpty() const { return in_flight_.empty(); }

 private:
  struct InFlight {
    Micros arrival;
    char byte;
    int heard_at_rate;
  };

  void ScheduleDelivery();
  void DeliverArrived();

  TimeBase& time_;
  Receiver receiver_;
  ReceiverRate receiver_rate_;
  std::deque<InFlight> in_flight_;
  Micros line_free_at_{0};
  std::optional<TimeBase::CallbackId> delivery_;
};

}  // namespace korvane
