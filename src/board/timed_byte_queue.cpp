#include "board/timed_byte_queue.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "board/serial_line.h"

namespace korvane {

TimedByteQueue::TimedByteQueue(TimeBase& time, Receiver receiver, ReceiverRate receiver_rate)
    : time_(time), receiver_(std::move(receiver)), receiver_rate_(std::move(receiver_rate)) {}

TimedByteQueue::~TimedByteQueue() {
  Clear();
}

void TimedByteQueue::Send(std::string_view bytes, int bit_rate) {
  if (bit_rate <= 0 || bytes.empty()) return;
  const Micros start = std::max(line_free_at_, time_.Now());
  line_free_at_ = start + static_cast<Micros::rep>(bytes.size()) * ByteTimeOnLine(bit_rate);
  const int receiver_rate = receiver_rate_ ? receiver_rate_() : 0;
  if (receiver_rate <= 0 || receiver_rate == bit_rate) {
    Micros arrival = start;
    for (const char byte : bytes) {
      arrival += ByteTimeOnLine(bit_rate);
      in_flight_.push_back({arrival, byte, bit_rate});
    }
  } else {
    for (const UartByte& read : ReadAtRate(bytes, bit_rate, receiver_rate)) {
      Micros arrival = start + Micros{std::llround(read.stop_sample_seconds * 1e6)};
      if (!in_flight_.empty()) arrival = std::max(arrival, in_flight_.back().arrival);
      in_flight_.push_back({arrival, read.byte, receiver_rate});
    }
  }
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
  while (!in_flight_.empty() && in_flight_.front().arrival <= time_.Now()) {
    const int rate = in_flight_.front().heard_at_rate;
    std::string arrived;
    while (!in_flight_.empty() && in_flight_.front().arrival <= time_.Now() &&
           in_flight_.front().heard_at_rate == rate) {
      arrived.push_back(in_flight_.front().byte);
      in_flight_.pop_front();
    }
    receiver_(arrived, rate);
  }
  ScheduleDelivery();
}

}  // namespace korvane
