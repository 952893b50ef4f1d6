#include "board/timed_byte_queue.h"

#include <algorithm>
#include <utility>

#include "board/serial_line.h"

namespace korvane {

TimedByteQueue::TimedByteQueue(TimeBase& time, Receiver receiver)
    : time_(time), receiver_(std::move(receiver)) {}

TimedByteQueue::~TimedByteQueue() {
  Clear();
}

void TimedByteQueue::Send(std::string_view bytes, int bit_rate) {
  if (bit_rate <= 0 || bytes.empty()) return;
  const Micros byte_time = ByteTimeOnLine(bit_rate);
  Micros arrival = std::max(line_free_at_, time_.Now());
  for (const char byte : bytes) {
    arrival += byte_time;
    in_flight_.push_back({arrival, byte});
  }
  line_free_at_ = arrival;
  ScheduleDelivery();
}

void TimedByteQueue::Clear() {
  if (delivery_) time_.Cancel(*delivery_);
  delivery_.reset();
  in_flight_.clear();
  line_free_at_ = time_.Now();
}

void TimedByteQueue::ScheduleDelivery() {
  if (delivery_ || in_flight_.empty()) return;
  const Micros delay = in_flight_.front().arrival - time_.Now();
  delivery_ = time_.Schedule(delay, [this] { DeliverArrived(); });
}

void TimedByteQueue::DeliverArrived() {
  delivery_.reset();
  std::string arrived;
  while (!in_flight_.empty() && in_flight_.front().arrival <= time_.Now()) {
    arrived.push_back(in_flight_.front().byte);
    in_flight_.pop_front();
  }
  if (!arrived.empty()) receiver_(arrived);
  ScheduleDelivery();
}

}  // namespace korvane
