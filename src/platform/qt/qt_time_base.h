#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <functional>
#include <map>

#include "platform/time_base.h"

namespace korvane {

/// Real time on the Qt event loop of the calling (user-interface) thread. Waits block in the
/// event loop until something arrives, so a long wait costs next to no processor time.
///
/// Scheduled callbacks are precise one-shot timers of this object: destroying it stops them,
/// so callbacks of a destroyed time base never run.
class QtTimeBase final : public QObject, public TimeBase {
 public:
  QtTimeBase();
  ~QtTimeBase() override;

  Micros Now() const override;
  void ProcessPendingEvents() override;
  void WaitForEvents() override;
  /// The delay is rounded up to whole milliseconds, so a callback never runs early.
  CallbackId Schedule(Micros delay, std::function<void()> callback) override;
  void Cancel(CallbackId id) override;
  void PauseWithoutEvents(Micros duration) override;

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  struct Pending {
    int qt_timer_id;
    std::function<void()> callback;
  };

  QElapsedTimer clock_;
  std::map<CallbackId, Pending> pending_;
  std::map<int, CallbackId> by_qt_timer_id_;
  CallbackId next_id_ = 1;
};

}  // namespace korvane
