#pragma once

#include <functional>

#include "platform/time_base.h"

namespace korvane {

/// `Timer1`: the one-shot millisecond timer that every timed wait of the board link shares.
/// Arming an armed timer restarts its count; on expiry it disarms itself and runs the handler.
class OneShotTimer {
 public:
  OneShotTimer(TimeBase& time, std::function<void()> on_expiry);
  ~OneShotTimer();
  OneShotTimer(const OneShotTimer&) = delete;
  OneShotTimer& operator=(const OneShotTimer&) = delete;

  void Arm(int interval_ms);
  void Disarm();
  bool IsArmed() const { return armed_; }

 private:
  TimeBase& time_;
  std::function<void()> on_expiry_;
  TimeBase::CallbackId pending_ = 0;
  bool armed_ = false;
};

}  // namespace korvane
