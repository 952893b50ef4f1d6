#pragma once

#include <QPlainTextEdit>
#include <QTimer>
#include <QWidget>

#include "platform/qt/traffic_lines.h"
#include "platform/traffic_listener.h"

namespace korvane {

/// The "CommSpy" tool window: the serial traffic of both directions as it passes, sent text
/// ("TX: ", blue) and received text ("RX: ", green) on their own lines.
///
/// Traffic is only collected when it passes; the window takes it in one batch at most about 60
/// times a second and keeps the last kMaxLines lines, so a full-speed stream does not slow the
/// program.
class CommSpyWindow final : public QWidget, public TrafficListener {
  Q_OBJECT

 public:
  static constexpr int kMaxLines = 5000;

  explicit CommSpyWindow(QWidget* parent = nullptr);

  void OnTraffic(TrafficDirection direction, std::string_view bytes) override;
  void OnShowTerminal(bool on) override;
  /// Adds the line "PORT LOST".
  void OnPortLost(int port_number) override;

 signals:
  /// The user closed the window through its title bar (the "CommSpy" box may untick itself).
  void ClosedByUser();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void RequestFlush();
  void Flush();

  QPlainTextEdit view_;
  QTimer flush_timer_;
  TrafficLines lines_;
};

}  // namespace korvane
