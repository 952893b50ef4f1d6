#include "app/view/reading_display.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <cmath>

namespace korvane {

namespace {

bool HasEvenCells(const QFont& font) {
  const QFontMetricsF metrics(font);
  return metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('W'));
}

QFont ReadingFont() {
  QFont font(QStringLiteral("Courier New"), 36, QFont::Bold);
  font.setStyleHint(QFont::TypeWriter);  // any fixed-pitch face where Courier New is missing
  font.setFixedPitch(true);
  if (HasEvenCells(font)) return font;
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSize(36);
  fixed.setBold(true);
  return fixed;
}

}  // namespace

ReadingDisplay::ReadingDisplay(QWidget* parent) : QWidget(parent), text_(new QLabel(this)) {
  text_->setFont(ReadingFont());
  text_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  text_->setTextFormat(Qt::PlainText);
  text_->setMargin(0);
  text_->setIndent(0);
  QPalette colors = text_->palette();
  colors.setColor(QPalette::Window, Qt::black);
  colors.setColor(QPalette::WindowText, QColor(0, 255, 0));
  text_->setPalette(colors);
  text_->setAutoFillBackground(true);

  const QFontMetricsF metrics(text_->font());
  const int side = static_cast<int>(std::ceil(metrics.averageCharWidth() / 2));
  const int top = static_cast<int>(std::ceil(metrics.descent()));
  text_->setContentsMargins(side, top, side, top);
  // A fixed size keeps a new reading from asking the layout for room at every update.
  text_->setFixedSize(
      static_cast<int>(std::ceil(metrics.horizontalAdvance(QString(kWidthInCharacters, '0')))) +
          2 * side,
      static_cast<int>(std::ceil(metrics.height())) + 2 * top);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);

  const int line_width = std::max(1, static_cast<int>(std::lround(logicalDpiX() / 96.0)));
  for (auto& separator : separators_) {
    separator = new QWidget(this);
    QPalette white = separator->palette();
    white.setColor(QPalette::Window, Qt::white);
    separator->setPalette(white);
    separator->setAutoFillBackground(true);
    separator->setFixedWidth(line_width);
    separator->raise();
  }
  PlaceSeparators();
}

double ReadingDisplay::CellBoundaryX(int cells_from_right) const {
  const QRect text_area = text_->contentsRect();
  const double right_edge = text_->x() + text_area.x() + text_area.width();
  const double cell_width = QFontMetricsF(text_->font()).horizontalAdvance(QLatin1Char('0'));
  return right_edge - cells_from_right * cell_width;
}

void ReadingDisplay::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceSeparators();
}

void ReadingDisplay::PlaceSeparators() {
  for (int index = 0; index < kSeparatorCount; ++index) {
    QWidget& separator = *separators_[static_cast<std::size_t>(index)];
    const double centre = CellBoundaryX(index + 2);
    const int left = static_cast<int>(std::lround(centre - separator.width() / 2.0));
    separator.setGeometry(left, text_->y(), separator.width(), text_->height());
  }
}

}  // namespace korvane
