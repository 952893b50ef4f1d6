#include "app/view/main_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/view/bgr_color.h"
#include "app/view/graph_menu_builder.h"
#include "app/view/measurement_frame_builder.h"
#include "app/view/qt_chart.h"
#include "app/view/settings_frame_builder.h"
#include "app/view/status_bar_builder.h"
#include "form/form.h"

namespace korvane {

MainWindow::MainWindow(Form& form, QWidget* parent) : QMainWindow(parent), form_(form) {
  setObjectName(QString::fromStdString(form_.frmKorvane_Demo.Name()));
  BuildMenu();

  auto* central = new QWidget(this);
  auto* columns = new QHBoxLayout(central);
  auto* measurement_side = new QVBoxLayout;
  measurement_side->addWidget(BuildCommandButtons(central));
  MeasurementFrameBuilder measurement(form_, binder_);
  measurement_side->addWidget(measurement.Build(central), 1);
  adc_graph_ = measurement.AdcGraph();
  histo_ = measurement.Histo();
  GraphMenuBuilder(form_, *adc_graph_, *histo_).Build(*menuBar());
  columns->addLayout(measurement_side, 1);
  columns->addWidget(SettingsFrameBuilder(form_, binder_).Build(central), 0);
  setCentralWidget(central);

  StatusBarBuilder(form_, binder_).Build(*statusBar());
  CompactFrames();

  // The program copies the window's real colour onto the charts at start-up.
  form_.frmKorvane_Demo.SetBackColor(BgrFromColor(palette().color(QPalette::Window)));
  // Not shown yet: the program's "show the window" must reach it as a change.
  form_.frmKorvane_Demo.SetVisible(false);
  BindWindow();
}

MainWindow::~MainWindow() {
  form_.frmKorvane_Demo.SetObserver({});
}

Chart& MainWindow::AdcGraph() {
  return *adc_graph_;
}

Chart& MainWindow::Histo() {
  return *histo_;
}

void MainWindow::BuildMenu() {
  QMenu* file = menuBar()->addMenu(QString());
  binder_.BindMenu(form_.mnuFile, *file);
  QAction* exit = file->addAction(QString());
  binder_.BindMenuItem(form_.mnuFileExit, *exit);  // the program binds nothing to it
}

QWidget* MainWindow::BuildCommandButtons(QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  for (Button& command : form_.cmdCntr) layout->addWidget(binder_.MakeButton(command, row));
  layout->addWidget(binder_.MakeButton(form_.cmdReset, row));
  layout->addStretch(1);
  return row;
}

void MainWindow::CompactFrames() {
  // Tighter than the style's default, so that the settings side fits a 800-pixel-high screen.
  for (QGroupBox* frame : findChildren<QGroupBox*>()) {
    if (frame->layout() == nullptr) continue;
    frame->layout()->setContentsMargins(6, 2, 6, 4);
    frame->layout()->setSpacing(4);
  }
}

void MainWindow::BindWindow() {
  Control& model = form_.frmKorvane_Demo;
  auto sync = [this, &model] {
    setWindowTitle(QString::fromStdString(model.Caption()));
    setAccessibleName(windowTitle());
    // The window itself stays enabled so that it can always be closed.
    centralWidget()->setEnabled(model.Enabled());
    menuBar()->setEnabled(model.Enabled());
    if (model.Visible() != isVisible()) setVisible(model.Visible());
  };
  sync();
  model.SetObserver(sync);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) form_.frmKorvane_Demo.SetVisible(true);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (on_close_) on_close_();
}

}  // namespace korvane
