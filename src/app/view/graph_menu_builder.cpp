#include "app/view/graph_menu_builder.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <memory>

#include "app/view/chart_export.h"
#include "app/view/graph_crosshair.h"
#include "app/view/qt_chart.h"
#include "form/form.h"
#include "platform/qt/qt_dialogs.h"

namespace korvane {

namespace {

constexpr const char* kPngFilter = "PNG image (*.png)";
constexpr const char* kPdfFilter = "PDF document (*.pdf)";

QString AskChartFileName(QWidget& window, const QString& title) {
  QString filter = QString::fromLatin1(kPngFilter);
  QString name = QFileDialog::getSaveFileName(
      &window, title, QString(), filter + QStringLiteral(";;") + QString::fromLatin1(kPdfFilter),
      &filter);
  // A name typed without an extension takes the one of the chosen file type.
  if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty()) {
    name +=
        filter == QString::fromLatin1(kPdfFilter) ? QStringLiteral(".pdf") : QStringLiteral(".png");
  }
  return name;
}

/// An action whose caption is also its accessible name (Qt reads it without the "&").
QAction* AddAction(QMenu& menu, const char* caption, const QKeySequence& shortcut) {
  QAction* action = menu.addAction(QString::fromLatin1(caption));
  action->setShortcut(shortcut);
  return action;
}

void AddExport(QMenu& menu, const char* caption, QtChart& chart,
               const std::shared_ptr<GraphMenuPrompts>& prompts) {
  QAction* action = AddAction(menu, caption, {});
  QObject::connect(action, &QAction::triggered, &menu, [&chart, prompts, action] {
    const QString file_name = prompts->ask_file_name(action->text().remove('&'));
    if (file_name.isEmpty()) return;
    const QString error = SaveChart(chart, file_name);
    if (!error.isEmpty()) prompts->show_error(error);
  });
}

}  // namespace

GraphMenuPrompts GraphMenuPrompts::Dialogs(QWidget& window) {
  GraphMenuPrompts prompts;
  prompts.ask_file_name = [&window](const QString& title) {
    return AskChartFileName(window, title);
  };
  prompts.show_error = [&window](const QString& text) {
    QtDialogs(&window, window.windowTitle().toStdString())
        .MessageBox(text.toStdString(), MessageIcon::kCritical);
  };
  return prompts;
}

GraphMenuBuilder::GraphMenuBuilder(Form& form, QtChart& time_graph, QtChart& histogram)
    : form_(form), time_graph_(time_graph), histogram_(histogram) {}

QMenu* GraphMenuBuilder::Build(QMenuBar& menu_bar) {
  return Build(menu_bar, GraphMenuPrompts::Dialogs(*menu_bar.window()));
}

QMenu* GraphMenuBuilder::Build(QMenuBar& menu_bar, GraphMenuPrompts prompts) {
  time_graph_.AllowExploring();
  Form& form = form_;
  new GraphCrosshair(time_graph_, [&form] { return form.ReadingPeriodMs; });  // owned by the chart

  QMenu* menu = menu_bar.addMenu(QStringLiteral("&Graph"));
  menu->setObjectName(QStringLiteral("mnuGraph"));
  menu->setAccessibleName(QStringLiteral("Graph"));

  QtChart& time_graph = time_graph_;
  QAction* pause = AddAction(*menu, kPause, QKeySequence(Qt::CTRL | Qt::Key_P));
  pause->setObjectName(QStringLiteral("mnuGraphPause"));
  pause->setCheckable(true);
  QObject::connect(pause, &QAction::toggled, menu,
                   [&time_graph](bool paused) { time_graph.SetPaused(paused); });
  QAction* auto_scale = AddAction(*menu, kAutoScale, QKeySequence(Qt::CTRL | Qt::Key_0));
  QObject::connect(auto_scale, &QAction::triggered, menu,
                   [&time_graph] { time_graph.AutoScale(); });

  menu->addSeparator();
  auto shared_prompts = std::make_shared<GraphMenuPrompts>(std::move(prompts));
  AddExport(*menu, kExportTimeGraph, time_graph_, shared_prompts);
  AddExport(*menu, kExportHistogram, histogram_, shared_prompts);
  return menu;
}

}  // namespace korvane
