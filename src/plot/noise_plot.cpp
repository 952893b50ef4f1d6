#include "plot/noise_plot.h"

#include <QColor>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <vector>

namespace korvane {

namespace {

/// One colour per gain 1 .. 128, told apart also in grey print by their lightness.
constexpr QRgb kGainColours[] = {0x1f77b4, 0xff7f0e, 0x2ca02c, 0xd62728,
                                 0x9467bd, 0x8c564b, 0xe377c2, 0x17becf};

/// A logarithmic axis over whole decades that hold every value.
struct LogAxis {
  double low_decade = 0;
  double high_decade = 1;
  double Position(double value, double from, double to) const {
    const double share = (std::log10(value) - low_decade) / (high_decade - low_decade);
    return from + share * (to - from);
  }
};

LogAxis AxisFor(double smallest, double largest) {
  if (!(smallest > 0) || !(largest >= smallest)) return {};
  LogAxis axis{std::floor(std::log10(smallest)), std::ceil(std::log10(largest))};
  if (axis.high_decade <= axis.low_decade) axis.high_decade = axis.low_decade + 1;
  return axis;
}

QString TickText(double value) {
  return QString::number(value, 'g', 6);
}

int GainIndex(int gain) {
  int index = 0;
  while ((1 << index) < gain && index < 7) ++index;
  return index;
}

}  // namespace

void PaintNoisePlot(QPainter& painter, const QRectF& area, const NoiseTable& table) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, Qt::white);
  const QFontMetricsF metrics(painter.font());
  const double line = metrics.height();
  const QRectF plot = area.adjusted(4.5 * line, 2.5 * line, -7 * line, -3.5 * line);

  std::map<int, std::vector<const NoiseTableCell*>> lines;  // by gain
  double low_rate = std::numeric_limits<double>::max(), high_rate = 0;
  double low_noise = std::numeric_limits<double>::max(), high_noise = 0;
  for (const NoiseTableCell& cell : table.cells) {
    if (!(cell.data_rate_hz > 0) || !(cell.figures.sigma_uv > 0)) continue;
    lines[cell.gain].push_back(&cell);
    low_rate = std::min(low_rate, cell.data_rate_hz);
    high_rate = std::max(high_rate, cell.data_rate_hz);
    low_noise = std::min(low_noise, cell.figures.sigma_uv);
    high_noise = std::max(high_noise, cell.figures.sigma_uv);
  }
  const LogAxis x_axis = AxisFor(low_rate, high_rate);
  const LogAxis y_axis = AxisFor(low_noise, high_noise);
  const auto x_of = [&](double rate) { return x_axis.Position(rate, plot.left(), plot.right()); };
  const auto y_of = [&](double uv) { return y_axis.Position(uv, plot.bottom(), plot.top()); };

  // Grid: a line at each 1..9 of every decade, labels at 1, 2 and 5.
  const QPen minor(QColor(0xe4e4e4), 1), major(QColor(0xb0b0b0), 1);
  painter.setPen(Qt::black);
  for (double d = x_axis.low_decade; d < x_axis.high_decade + 0.5; ++d) {
    for (int m = 1; m <= 9 && (m == 1 || d < x_axis.high_decade); ++m) {
      const double rate = m * std::pow(10.0, d);
      const double x = x_of(rate);
      painter.setPen(m == 1 ? major : minor);
      painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
      if (m == 1 || m == 2 || m == 5) {
        painter.setPen(Qt::black);
        const QString text = TickText(rate);
        painter.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2, plot.bottom() + line),
                         text);
      }
    }
  }
  for (double d = y_axis.low_decade; d < y_axis.high_decade + 0.5; ++d) {
    for (int m = 1; m <= 9 && (m == 1 || d < y_axis.high_decade); ++m) {
      const double uv = m * std::pow(10.0, d);
      const double y = y_of(uv);
      painter.setPen(m == 1 ? major : minor);
      painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
      if (m == 1 || m == 2 || m == 5) {
        painter.setPen(Qt::black);
        const QString text = TickText(uv);
        painter.drawText(QPointF(plot.left() - metrics.horizontalAdvance(text) - 0.4 * line,
                                 y + metrics.ascent() / 2 - 1),
                         text);
      }
    }
  }
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(plot);

  const QString x_title = "Data rate, Hz";
  painter.drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(x_title) / 2,
                           plot.bottom() + 2.4 * line),
                   x_title);
  painter.save();
  painter.translate(area.left() + 1.2 * line, plot.center().y());
  painter.rotate(-90);
  const QString y_title = "Noise, µV rms";
  painter.drawText(QPointF(-metrics.horizontalAdvance(y_title) / 2, 0), y_title);
  painter.restore();
  QString title =
      QString("Noise against data rate, %1 readings per cell").arg(table.readings_per_cell);
  if (!table.incomplete.empty()) title += " (incomplete)";
  painter.drawText(QPointF(plot.left(), area.top() + 1.5 * line), title);

  // One line per gain through its cells in rising rate; a cell cut short is drawn hollow.
  double legend_y = plot.top() + line;
  for (auto& [gain, cells] : lines) {
    std::ranges::sort(cells, {}, &NoiseTableCell::data_rate_hz);
    const QColor colour(kGainColours[GainIndex(gain)]);
    QPainterPath path;
    for (const NoiseTableCell* cell : cells) {
      const QPointF point(x_of(cell->data_rate_hz), y_of(cell->figures.sigma_uv));
      // (A path of one move still counts as empty.)
      if (cell == cells.front()) {
        path.moveTo(point);
      } else {
        path.lineTo(point);
      }
    }
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    for (const NoiseTableCell* cell : cells) {
      painter.setBrush(cell->whole ? QBrush(colour) : QBrush(Qt::white));
      painter.drawEllipse(QPointF(x_of(cell->data_rate_hz), y_of(cell->figures.sigma_uv)), 3.5,
                          3.5);
    }
    const double legend_x = plot.right() + line;
    painter.drawLine(QPointF(legend_x, legend_y), QPointF(legend_x + 1.6 * line, legend_y));
    painter.setPen(Qt::black);
    painter.drawText(QPointF(legend_x + 2 * line, legend_y + metrics.ascent() / 2 - 1),
                     QString("Gain %1").arg(gain));
    legend_y += 1.4 * line;
  }
  painter.restore();
}

QString SaveNoisePlotPng(const NoiseTable& table, const QString& path, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    PaintNoisePlot(painter, QRectF(QPointF(0, 0), QSizeF(size)), table);
  }
  if (!image.save(path, "PNG")) return "Cannot write the plot to " + path + ".";
  return QString();
}

}  // namespace korvane
