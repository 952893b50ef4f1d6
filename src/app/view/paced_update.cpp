#include "app/view/paced_update.h"

namespace korvane {

PacedUpdate::PacedUpdate(std::function<void()> apply, QObject* parent)
    : QObject(parent), apply_(std::move(apply)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &PacedUpdate::ApplyPending);
}

void PacedUpdate::Request() {
  if (!timer_.isActive() &&
      (!since_apply_.isValid() || since_apply_.elapsed() >= kRepaintIntervalMs)) {
    apply_();
    since_apply_.start();
    timer_.start(kRepaintIntervalMs);
    return;
  }
  pending_ = true;
  if (!timer_.isActive()) timer_.start(kRepaintIntervalMs);
}

void PacedUpdate::ApplyPending() {
  if (!pending_) return;
  pending_ = false;
  apply_();
  since_apply_.start();
  timer_.start(kRepaintIntervalMs);  // the next request waits for this frame to end
}

}  // namespace korvane
