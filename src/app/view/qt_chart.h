#pragma once

#include <QString>
#include <QTimer>
#include <cstdint>
#include <string>
#include <vector>

#include "app/graph_view_state.h"
#include "platform/chart.h"
#include "qcustomplot.h"

namespace korvane {

/// A chart of the window on QCustomPlot: one series drawn as a line (time graph) or as bars
/// (histogram). Points live here until Redraw() hands them to the plot; Redraw() is a request
/// that repaints at most every kRepaintIntervalMs, and only when something changed.
class QtChart : public QCustomPlot, public Chart {
  Q_OBJECT

 public:
  enum class Style { kLine, kBars };

  /// An empty `title` puts no title above the plot.
  QtChart(Style style, const QString& title, const QString& y_axis_title,
          QWidget* parent = nullptr);

  void SetPointCount(int count) override;
  int PointCount() const override;
  void SetPointY(int series, int point, float value) override;
  void SetPointX(int series, int point, float value) override;
  float PointY(int series, int point) const override;
  float PointX(int series, int point) const override;
  void SetSeriesColor(int series, std::uint32_t bgr) override;
  void SetYAxisTitle(const std::string& title) override;
  std::string YAxisTitle() const override;
  void SetYRange(double min, double max) override;
  void SetBackgroundColor(std::uint32_t bgr) override;
  std::uint32_t BackgroundColor() const override;
  void SetPlottingMethod(int method) override;
  void Redraw() override;

  int PlottingMethod() const { return plotting_method_; }
  bool AutoScalesY() const { return auto_y_range_; }

  /// Lets the user zoom and pan both axes with the wheel and a drag; doing so ends the
  /// program's scaling until `AutoScale()`.
  void AllowExploring();
  /// Freezes what the plot shows; points set meanwhile are kept and shown on resuming.
  void SetPaused(bool paused);
  /// Back to the program's scaling: keys fitted to the data, Y automatic or the program's range.
  void AutoScale();
  const GraphViewState& ViewState() const { return view_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  bool IsPoint(int series, int point) const;
  void ApplySeriesColor(const QColor& color);
  /// Applies a visible setting at once and asks for a repaint.
  void ChangeAppearance();
  void ReplotIfChanged();
  /// Asks for a repaint of what the plot holds now, with the signals of a replot around it.
  void Repaint();
  void PushPointsToPlot();
  void PushAllPointsToPlot();
  void RescaleToProgramRanges();
  /// Ends the program's scaling when the user's wheel or drag changed a range.
  void NoteUserMove(const QCPRange& keys_before, const QCPRange& values_before);

  Style style_;
  QCPGraph* graph_ = nullptr;
  QCPBars* bars_ = nullptr;
  std::vector<float> xs_;
  std::vector<float> ys_;
  /// What changed since the points were last handed to the plot.
  bool keys_changed_ = true;
  std::size_t values_changed_from_ = SIZE_MAX;
  std::size_t values_changed_to_ = 0;
  bool keys_in_point_order_ = false;
  QTimer redraw_timer_;
  bool changed_ = false;
  bool auto_y_range_ = true;
  /// The program's fixed Y range, kept while the user's zoom overrides it.
  QCPRange program_y_range_;
  GraphViewState view_;
  std::uint32_t background_bgr_ = 0xFFFFFF;
  int plotting_method_ = 0;
};

}  // namespace korvane
