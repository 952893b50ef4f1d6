#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/time_base.h"

namespace korvane {

/// One direction of a serial line: bytes take their time on the wire, one after the other, and
/// reach the receiver when their stop bit has passed. One pending callback serves the whole queue:
/// when it fires it delivers every byte that has arrived by then and schedules itself for the
/// next, so bulk transfers cost a handful of callbacks, not one per byte.
class TimedByteQueue {
 public:
  using Receiver = std::function<void(std::string_view bytes)>;

  TimedByteQueue(TimeBase& time, Receiver receiver);
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
  };

  void ScheduleDelivery();
  void DeliverArrived();

  TimeBase& time_;
  Receiver receiver_;
  std::deque<InFlight> in_flight_;
  Micros line_free_at_{0};
  std::optional<TimeBase::CallbackId> delivery_;
};

}  // namespace korvane
