#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace korvane {

using Micros = std::chrono::microseconds;
using Millis = std::chrono::milliseconds;

/// The program's clock and event pump. Every wait of the program goes through it, so that the
/// same logic runs in real time (Qt event loop) and in virtual time (tests, simulations).
class TimeBase {
 public:
  using CallbackId = std::uint64_t;

  virtual ~TimeBase() = default;

  /// Monotonic time since an arbitrary start.
  virtual Micros Now() const = 0;
  std::int64_t NowMs() const { return std::chrono::duration_cast<Millis>(Now()).count(); }

  /// Runs the user-interface events that are pending now and returns; never waits.
  virtual void ProcessPendingEvents() = 0;

  /// Runs pending events; when none is pending, blocks until the next one (serial data, a
  /// scheduled callback, a user action) has arrived and run. Never spins.
  virtual void WaitForEvents() = 0;

  /// Runs `callback` once from the event pump after `delay`. Ids are never reused.
  virtual CallbackId Schedule(Micros delay, std::function<void()> callback) = 0;

  /// Forgets a scheduled callback; unknown or already-run ids are ignored.
  virtual void Cancel(CallbackId id) = 0;

  /// Lets `duration` pass without running any event (a short busy pause between characters).
  virtual void PauseWithoutEvents(Micros duration) = 0;
};

}  // namespace korvane
