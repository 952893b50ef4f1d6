#include "app/view/graph_crosshair.h"

#include "app/crosshair_text.h"
#include "app/view/qt_chart.h"

namespace korvane {

namespace {
constexpr const char* kLayerName = "crosshair";
}

GraphCrosshair::GraphCrosshair(QtChart& chart, std::function<double()> millis_per_reading)
    : QObject(&chart), chart_(chart), millis_per_reading_(std::move(millis_per_reading)) {
  chart_.addLayer(kLayerName, nullptr, QCustomPlot::limAbove);
  layer_ = chart_.layer(kLayerName);

  tracer_ = new QCPItemTracer(&chart_);  // items are owned by the plot
  tracer_->setLayer(layer_);
  tracer_->setInterpolating(false);
  tracer_->setStyle(QCPItemTracer::tsCrosshair);
  tracer_->setPen(QPen(Qt::darkGray, 0, Qt::DashLine));

  label_ = new QCPItemText(&chart_);
  label_->setLayer(layer_);
  label_->position->setType(QCPItemPosition::ptAxisRectRatio);
  label_->position->setCoords(0.01, 0.02);
  label_->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
  label_->setBrush(QColor(255, 255, 255, 220));
  label_->setPen(QPen(Qt::darkGray));
  label_->setPadding(QMargins(4, 2, 4, 2));
  label_->setClipToAxisRect(true);

  Show(false);
  // New points under a resting mouse: the reading follows them.
  connect(&chart_, &QCustomPlot::beforeReplot, this, [this] {
    if (Shown()) UpdateLabel();
  });
  chart_.setMouseTracking(true);
  chart_.installEventFilter(this);
}

bool GraphCrosshair::Shown() const {
  return tracer_->visible();
}

QString GraphCrosshair::Text() const {
  return label_->text();
}

bool GraphCrosshair::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &chart_) {
    if (event->type() == QEvent::MouseMove) Follow(static_cast<QMouseEvent*>(event));
    if (event->type() == QEvent::Leave && Shown()) {
      Show(false);
      chart_.update();
    }
  }
  return QObject::eventFilter(watched, event);
}

void GraphCrosshair::Follow(QMouseEvent* event) {
  const QPointF at = event->position();
  QCPGraph* graph = chart_.graph(0);
  const bool inside = chart_.axisRect()->rect().contains(at.toPoint()) && !graph->data()->isEmpty();
  if (inside) {
    tracer_->setGraph(graph);  // not before: a tracer on an empty graph complains
    tracer_->setGraphKey(chart_.xAxis->pixelToCoord(at.x()));
    UpdateLabel();
  }
  if (inside || Shown()) {
    Show(inside);
    chart_.update();
  }
}

void GraphCrosshair::UpdateLabel() {
  tracer_->updatePosition();  // snaps to the nearest point shown
  const QPointF point = tracer_->position->coords();
  label_->setText(QString::fromStdString(
      CrosshairText(point.x(), point.y(), millis_per_reading_ ? millis_per_reading_() : 0)));
}

void GraphCrosshair::Show(bool shown) {
  tracer_->setVisible(shown);
  label_->setVisible(shown);
}

}  // namespace korvane
