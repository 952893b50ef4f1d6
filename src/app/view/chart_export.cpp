#include "app/view/chart_export.h"

#include <QDir>
#include <QFileInfo>

#include "qcustomplot.h"

namespace korvane {

QString SaveChart(QCustomPlot& chart, const QString& file_name) {
  const QString suffix = QFileInfo(file_name).suffix().toLower();
  const QString shown_name = QDir::toNativeSeparators(file_name);
  bool saved = false;
  if (suffix == QStringLiteral("png")) {
    saved = chart.savePng(file_name);
  } else if (suffix == QStringLiteral("pdf")) {
    saved = chart.savePdf(file_name);
  } else {
    return QStringLiteral("Cannot save the chart as \"%1\": the name must end in .png or .pdf.")
        .arg(shown_name);
  }
  if (saved) return {};
  return QStringLiteral("Cannot write the chart to \"%1\".").arg(shown_name);
}

}  // namespace korvane
