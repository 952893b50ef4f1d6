#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace korvane {

/// Applies a widget update at most once per display frame however often it is requested: the
/// first request after a quiet frame applies at once, later ones are folded into one update at
/// the end of the frame. Readings can arrive 720 times a second; the screen needs 60.
class PacedUpdate : public QObject {
  Q_OBJECT

 public:
  static constexpr int kFrameMs = 16;

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
