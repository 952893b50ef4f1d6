#include "app/view/qt_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "app/view/bgr_color.h"
#include "app/view/repaint_pace.h"

namespace korvane {

namespace {

constexpr double kBarFill = 0.8;  ///< Share of the distance between neighbouring bars they fill.

/// Smallest distance between neighbouring keys, so bars of unevenly spaced data never overlap.
double BarWidth(const QVector<double>& sorted_keys) {
  double width = 1.0;
  bool found = false;
  for (qsizetype i = 1; i < sorted_keys.size(); ++i) {
    const double gap = sorted_keys[i] - sorted_keys[i - 1];
    if (gap > 0.0 && (!found || gap < width)) {
      width = gap;
      found = true;
    }
  }
  return width * kBarFill;
}

}  // namespace

QtChart::QtChart(Style style, const QString& title, const QString& y_axis_title, QWidget* parent)
    : QCustomPlot(parent), style_(style) {
  redraw_timer_.setSingleShot(true);
  redraw_timer_.setInterval(kRepaintIntervalMs);
  connect(&redraw_timer_, &QTimer::timeout, this, &QtChart::ReplotIfChanged);

  if (style_ == Style::kLine) {
    graph_ = addGraph();
    graph_->setLineStyle(QCPGraph::lsLine);
    // A 5000-point line repaints many times a second: draw it aliased, in one polyline call.
    // QCustomPlot's "fast polylines" draw segment by segment, which pays only for thick or
    // antialiased pens.
    graph_->setAntialiased(false);
    setPlottingHint(QCP::phFastPolylines, false);
  } else {
    bars_ = new QCPBars(xAxis, yAxis);  // owned by the plot
    bars_->setWidthType(QCPBars::wtPlotCoords);
  }
  ApplySeriesColor(ColorFromBgr(255));
  if (!title.isEmpty()) {
    plotLayout()->insertRow(0);
    QFont title_font = font();
    title_font.setBold(true);
    plotLayout()->addElement(0, 0, new QCPTextElement(this, title, title_font));
  }
  yAxis->setLabel(y_axis_title);
  setBackground(ColorFromBgr(background_bgr_));
  // The chart paints straight into the window (paintEvent): no layer needs a buffer.
  layer(QStringLiteral("overlay"))->setMode(QCPLayer::lmLogical);
}

void QtChart::SetPointCount(int count) {
  const auto size = static_cast<std::size_t>(std::max(count, 0));
  xs_.resize(size, 0.0f);
  ys_.resize(size, 0.0f);
  keys_changed_ = true;
  changed_ = true;
}

int QtChart::PointCount() const {
  return static_cast<int>(ys_.size());
}

bool QtChart::IsPoint(int series, int point) const {
  return series == 0 && point >= 0 && point < PointCount();
}

void QtChart::SetPointY(int series, int point, float value) {
  if (!IsPoint(series, point)) return;
  const auto index = static_cast<std::size_t>(point);
  ys_[index] = value;
  values_changed_from_ = std::min(values_changed_from_, index);
  values_changed_to_ = std::max(values_changed_to_, index + 1);
  changed_ = true;
}

void QtChart::SetPointX(int series, int point, float value) {
  if (!IsPoint(series, point)) return;
  auto& x = xs_[static_cast<std::size_t>(point)];
  if (x == value) return;
  x = value;
  keys_changed_ = true;
  changed_ = true;
}

float QtChart::PointY(int series, int point) const {
  return IsPoint(series, point) ? ys_[static_cast<std::size_t>(point)] : 0.0f;
}

float QtChart::PointX(int series, int point) const {
  return IsPoint(series, point) ? xs_[static_cast<std::size_t>(point)] : 0.0f;
}

void QtChart::SetSeriesColor(int series, std::uint32_t bgr) {
  if (series != 0) return;
  ApplySeriesColor(ColorFromBgr(bgr));
  ChangeAppearance();
}

void QtChart::ApplySeriesColor(const QColor& color) {
  if (graph_ != nullptr) graph_->setPen(QPen(color, 1));  // thin lines take the fast path
  if (bars_ != nullptr) {
    bars_->setPen(QPen(color));
    bars_->setBrush(color);
  }
}

void QtChart::SetYAxisTitle(const std::string& title) {
  yAxis->setLabel(QString::fromStdString(title));
  ChangeAppearance();
}

std::string QtChart::YAxisTitle() const {
  return yAxis->label().toStdString();
}

void QtChart::SetYRange(double min, double max) {
  auto_y_range_ = false;
  program_y_range_ = QCPRange(min, max);
  // Paused or zoomed, the range waits for the program's scaling to be shown again.
  if (view_.ProgramScales() && view_.ShowsNewPoints()) yAxis->setRange(program_y_range_);
  ChangeAppearance();
}

void QtChart::AllowExploring() {
  setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  axisRect()->setRangeDrag(Qt::Horizontal | Qt::Vertical);
  axisRect()->setRangeZoom(Qt::Horizontal | Qt::Vertical);
}

void QtChart::SetPaused(bool paused) {
  using Event = GraphViewState::Event;
  view_.Handle(paused ? Event::kPause : Event::kResume);
  // On resuming, the points collected meanwhile are shown.
  if (!paused) ChangeAppearance();
}

void QtChart::AutoScale() {
  view_.Handle(GraphViewState::Event::kAutoScale);
  if (view_.ShowsNewPoints()) {
    ChangeAppearance();
  } else {
    RescaleToProgramRanges();  // the frozen points, fitted as the program would fit them
    Repaint();
  }
}

void QtChart::wheelEvent(QWheelEvent* event) {
  const QCPRange keys = xAxis->range();
  const QCPRange values = yAxis->range();
  QCustomPlot::wheelEvent(event);
  NoteUserMove(keys, values);
}

void QtChart::mouseMoveEvent(QMouseEvent* event) {
  const QCPRange keys = xAxis->range();
  const QCPRange values = yAxis->range();
  QCustomPlot::mouseMoveEvent(event);
  NoteUserMove(keys, values);
}

void QtChart::NoteUserMove(const QCPRange& keys_before, const QCPRange& values_before) {
  // Only a wheel or drag that really moved the ranges counts: not one over the title or the axes.
  if (xAxis->range() != keys_before || yAxis->range() != values_before) {
    view_.Handle(GraphViewState::Event::kUserMovedView);
  }
}

void QtChart::SetBackgroundColor(std::uint32_t bgr) {
  background_bgr_ = bgr;
  setBackground(ColorFromBgr(bgr));
  ChangeAppearance();
}

std::uint32_t QtChart::BackgroundColor() const {
  return background_bgr_;
}

void QtChart::SetPlottingMethod(int method) {
  plotting_method_ = method;
}

void QtChart::ChangeAppearance() {
  changed_ = true;
  Redraw();
}

void QtChart::Redraw() {
  if (changed_ && !redraw_timer_.isActive()) redraw_timer_.start();
}

void QtChart::ReplotIfChanged() {
  if (!changed_) return;
  changed_ = false;
  if (view_.ShowsNewPoints()) PushPointsToPlot();
  Repaint();
}

void QtChart::Repaint() {
  emit beforeReplot();
  update();
  emit afterReplot();
}

void QtChart::paintEvent(QPaintEvent* /*event*/) {
  // Straight into the window's backing store. QCustomPlot's own paint buffers cost a clear of
  // the whole plot and a blend of it into the window at every frame, which at 30 frames a
  // second was a third of the program's CPU during a run. Its replot() still fills them (the
  // wheel and drag call it); what is shown always comes from here.
  QCPPainter painter(this);
  if (!painter.isActive()) return;
  if (mBackgroundBrush.style() != Qt::NoBrush) painter.fillRect(viewport(), mBackgroundBrush);
  draw(&painter);
}

void QtChart::PushPointsToPlot() {
  const std::size_t from = std::exchange(values_changed_from_, SIZE_MAX);
  const std::size_t to = std::exchange(values_changed_to_, 0);
  if (graph_ != nullptr && !std::exchange(keys_changed_, false) && keys_in_point_order_ &&
      static_cast<std::size_t>(graph_->data()->size()) == ys_.size()) {
    // A stream moves only values: those changed since the last repaint are written in place
    // rather than the whole graph handed over again at every repaint.
    auto points = graph_->data()->begin();
    for (std::size_t i = from; i < to; ++i) points[static_cast<qsizetype>(i)].value = ys_[i];
  } else {
    PushAllPointsToPlot();
  }
  if (view_.ProgramScales()) RescaleToProgramRanges();
}

void QtChart::PushAllPointsToPlot() {
  QVector<double> keys;
  QVector<double> values;
  keys.reserve(static_cast<qsizetype>(xs_.size()));
  values.reserve(static_cast<qsizetype>(ys_.size()));
  for (std::size_t i = 0; i < ys_.size(); ++i) {
    keys.push_back(static_cast<double>(xs_[i]));
    values.push_back(static_cast<double>(ys_[i]));
  }
  if (graph_ != nullptr) {
    // Sorted keys keep each point at its own index in the plot's data.
    keys_in_point_order_ = std::is_sorted(keys.begin(), keys.end());
    graph_->setData(keys, values, keys_in_point_order_);
  } else {
    bars_->setData(keys, values);  // sorts by key
    QVector<double> sorted_keys = keys;
    std::sort(sorted_keys.begin(), sorted_keys.end());
    bars_->setWidth(BarWidth(sorted_keys));
  }
}

void QtChart::RescaleToProgramRanges() {
  QCPAbstractPlottable* series = graph_ != nullptr ? static_cast<QCPAbstractPlottable*>(graph_)
                                                   : static_cast<QCPAbstractPlottable*>(bars_);
  series->rescaleKeyAxis();
  if (auto_y_range_) {
    series->rescaleValueAxis();
  } else {
    yAxis->setRange(program_y_range_);
  }
}

}  // namespace korvane
