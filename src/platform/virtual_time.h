#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <utility>

#include "platform/time_base.h"

namespace korvane {

/// Thrown by VirtualTime::WaitForEvents when nothing is scheduled: the program would wait forever.
class NothingScheduled : public std::logic_error {
 public:
  NothingScheduled()
      : std::logic_error("the program waits for an event but nothing is scheduled") {}
};

/// Time that passes only when the program waits: a wait jumps straight to the next scheduled
/// callback. Deterministic; an 11-minute port search runs in milliseconds.
class VirtualTime final : public TimeBase {
 public:
  Micros Now() const override { return now_; }
  void ProcessPendingEvents() override;
  void WaitForEvents() override;
  CallbackId Schedule(Micros delay, std::function<void()> callback) override;
  void Cancel(CallbackId id) override;
  void PauseWithoutEvents(Micros duration) override { now_ += duration; }

  /// Runs everything due up to `Now() + duration` and leaves the clock there.
  void Advance(Micros duration);
  bool HasScheduled() const { return !queue_.empty(); }

 private:
  /// Runs the earliest callback due at or before `limit`; false when there is none.
  bool RunOneDueBy(Micros limit);

  using Key = std::pair<Micros, CallbackId>;  // due time, then order of scheduling
  std::map<Key, std::function<void()>> queue_;
  std::map<CallbackId, Micros> due_;
  Micros now_{0};
  CallbackId next_id_ = 1;
};

}  // namespace korvane
