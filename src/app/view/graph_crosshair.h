#pragma once

#include <QObject>
#include <functional>

class QCPItemText;
class QCPItemTracer;
class QCPLayer;
class QMouseEvent;

namespace korvane {

class QtChart;

/// A crosshair on the time graph that follows the mouse, snaps to the nearest point shown and
/// reads its index, time and value in the plot's top left corner. It lives on a layer of its
/// own above the axes.
class GraphCrosshair : public QObject {
  Q_OBJECT

 public:
  /// `millis_per_reading` gives the current reading period in ms (0 when unknown).
  GraphCrosshair(QtChart& chart, std::function<double()> millis_per_reading);

  bool Shown() const;
  /// The reading as shown, e.g. "#120   t = 0.166667 s   1.234568".
  QString Text() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Follow(QMouseEvent* event);
  void UpdateLabel();
  void Show(bool shown);

  QtChart& chart_;
  std::function<double()> millis_per_reading_;
  QCPLayer* layer_ = nullptr;
  QCPItemTracer* tracer_ = nullptr;
  QCPItemText* label_ = nullptr;
};

}  // namespace korvane
