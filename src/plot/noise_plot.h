#pragma once

#include <QRectF>
#include <QSize>
#include <QString>

#include "records/noise_table.h"

class QPainter;

namespace korvane {

/// The noise table as a log-log plot: noise in µV rms against the data rate, one line per gain.
/// Drawn with QtGui alone, so that the window and the command line make the same picture (the
/// command line has no widgets; it needs a QGuiApplication, offscreen will do, for the fonts).
void PaintNoisePlot(QPainter& painter, const QRectF& area, const NoiseTable& table);

/// Writes the plot as a PNG image of `size` pixels. Returns "" when written, else a message that
/// names the file.
QString SaveNoisePlotPng(const NoiseTable& table, const QString& path, QSize size = {900, 600});

}  // namespace korvane
