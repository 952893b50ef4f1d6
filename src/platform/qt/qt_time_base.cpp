#include "platform/qt/qt_time_base.h"

#include <QCoreApplication>
#include <QTimerEvent>
#include <algorithm>
#include <climits>
#include <thread>

namespace korvane {

QtTimeBase::QtTimeBase() {
  clock_.start();
}

QtTimeBase::~QtTimeBase() {
  for (const auto& [qt_timer_id, id] : by_qt_timer_id_) killTimer(qt_timer_id);
}

Micros QtTimeBase::Now() const {
  return Micros{clock_.nsecsElapsed() / 1000};
}

void QtTimeBase::ProcessPendingEvents() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtTimeBase::WaitForEvents() {
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

TimeBase::CallbackId QtTimeBase::Schedule(Micros delay, std::function<void()> callback) {
  const auto whole_ms =
      std::clamp<Millis::rep>(std::chrono::ceil<Millis>(delay).count(), 0, Millis::rep{INT_MAX});
  // Qt hands out one id per running timer; the callback id is our own so it is never reused.
  const int qt_timer_id = startTimer(static_cast<int>(whole_ms), Qt::PreciseTimer);
  const CallbackId id = next_id_++;
  if (qt_timer_id == 0) return id;  // no event loop in this thread: nothing can ever run it
  pending_.emplace(id, Pending{qt_timer_id, std::move(callback)});
  by_qt_timer_id_.emplace(qt_timer_id, id);
  return id;
}

void QtTimeBase::Cancel(CallbackId id) {
  const auto it = pending_.find(id);
  if (it == pending_.end()) return;
  killTimer(it->second.qt_timer_id);
  by_qt_timer_id_.erase(it->second.qt_timer_id);
  pending_.erase(it);
}

void QtTimeBase::PauseWithoutEvents(Micros duration) {
  if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

void QtTimeBase::timerEvent(QTimerEvent* event) {
  const auto by_qt = by_qt_timer_id_.find(event->timerId());
  if (by_qt == by_qt_timer_id_.end()) {
    QObject::timerEvent(event);
    return;
  }
  const CallbackId id = by_qt->second;
  killTimer(event->timerId());
  by_qt_timer_id_.erase(by_qt);
  auto node = pending_.extract(id);
  // Removed before running: the callback may schedule, cancel or wait in turn.
  node.mapped().callback();
}

}  // namespace korvane
