#include "platform/qt/comm_spy_window.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QScrollBar>
#include <QShowEvent>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QVBoxLayout>

namespace korvane {

namespace {

constexpr int kFlushIntervalMs = 33;  // the repaint pace of the main window

QTextCharFormat FormatFor(TrafficLines::Kind kind) {
  QTextCharFormat format;
  switch (kind) {
    case TrafficLines::Kind::kToBoard:
      format.setForeground(QColor(0, 0, 170));
      break;
    case TrafficLines::Kind::kFromBoard:
      format.setForeground(QColor(0, 110, 0));
      break;
    case TrafficLines::Kind::kNotice:
      format.setForeground(QColor(190, 0, 0));
      format.setFontWeight(QFont::Bold);
      break;
  }
  return format;
}

}  // namespace

CommSpyWindow::CommSpyWindow(QWidget* parent) : QWidget(parent, Qt::Tool), view_(this) {
  setObjectName(QStringLiteral("CommSpy"));
  setWindowTitle(QStringLiteral("CommSpy"));
  resize(640, 360);
  view_.setReadOnly(true);
  view_.setUndoRedoEnabled(false);
  view_.setMaximumBlockCount(kMaxLines);
  view_.setLineWrapMode(QPlainTextEdit::NoWrap);
  view_.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* layout = new QVBoxLayout(this);  // owned by this widget
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(&view_);
  flush_timer_.setSingleShot(true);
  flush_timer_.setInterval(kFlushIntervalMs);
  flush_timer_.setTimerType(Qt::CoarseTimer);
  connect(&flush_timer_, &QTimer::timeout, this, &CommSpyWindow::Flush);
}

void CommSpyWindow::OnTraffic(TrafficDirection direction, std::string_view bytes) {
  lines_.Add(direction, bytes);
  RequestFlush();
}

void CommSpyWindow::OnShowTerminal(bool on) {
  setVisible(on);
}

void CommSpyWindow::OnPortLost(int /*port_number*/) {
  lines_.AddNotice("PORT LOST");
  RequestFlush();
}

void CommSpyWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) emit ClosedByUser();
}

void CommSpyWindow::RequestFlush() {
  if (!flush_timer_.isActive()) flush_timer_.start();
}

void CommSpyWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Flush();  // what passed while the window was hidden
}

void CommSpyWindow::Flush() {
  // Hidden, the text waits in the bounded pending lines: laying it out costs more than the
  // whole stream of readings.
  if (!lines_.HasPending() || !isVisible()) return;
  QScrollBar* scroll = view_.verticalScrollBar();
  const bool follow_end = scroll->value() == scroll->maximum();
  QTextCursor cursor(view_.document());
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  for (const auto& run : lines_.Take()) {
    cursor.insertText(QString::fromLatin1(run.text.data(), static_cast<qsizetype>(run.text.size())),
                      FormatFor(run.kind));
  }
  cursor.endEditBlock();
  if (follow_end) scroll->setValue(scroll->maximum());
}

}  // namespace korvane
