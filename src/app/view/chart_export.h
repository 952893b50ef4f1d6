#pragma once

#include <QString>

class QCustomPlot;

namespace korvane {

/// Saves the chart as shown, at its size on screen, as PNG or PDF by the file name's extension
/// (any case). Returns an empty text on success, else a message for the user naming the file.
QString SaveChart(QCustomPlot& chart, const QString& file_name);

}  // namespace korvane
