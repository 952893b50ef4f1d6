#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

#include "app/view/repaint_pace.h"

namespace korvane {

/// Applies a widget update at most once per kRepaintIntervalMs however often it is requested:
/// the first request after a quiet interval applies at once, later ones are folded into one
/// update at the end of the interval. Readings can arrive 720 times a second; the eye needs 30.
class PacedUpdate : public QObject {
  Q_OBJECT

 public:
  PacedUpdate(std::function<void()> apply, QObject* parent);

  void Request();

 private:
  void ApplyPending();

  std::function<void()> apply_;
  QTimer timer_;
  QElapsedTimer since_apply_;
  bool pending_ = false;
};

}  // namespace korvane
