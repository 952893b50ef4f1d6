#include "link/one_shot_timer.h"

#include <utility>

namespace korvane {

OneShotTimer::OneShotTimer(TimeBase& time, std::function<void()> on_expiry)
    : time_(time), on_expiry_(std::move(on_expiry)) {}

OneShotTimer::~OneShotTimer() {
  Disarm();
}

void OneShotTimer::Arm(int interval_ms) {
  Disarm();
  armed_ = true;
  pending_ = time_.Schedule(Millis{interval_ms > 0 ? interval_ms : 0}, [this] {
    pending_ = 0;
    armed_ = false;
    if (on_expiry_) on_expiry_();
  });
}

void OneShotTimer::Disarm() {
  if (pending_ != 0) time_.Cancel(pending_);
  pending_ = 0;
  armed_ = false;
}

}  // namespace korvane
