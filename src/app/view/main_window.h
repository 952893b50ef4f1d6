#pragma once

#include <QMainWindow>
#include <functional>

#include "app/view/control_binder.h"

namespace korvane {

class Chart;
class Form;
class QtChart;

/// The program's window `frmKorvane_Demo`: builds a widget for every control of the form, binds
/// them both ways and reports the close. Disabling the window's model blocks the controls and
/// the menu but never the close button.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(Form& form, QWidget* parent = nullptr);
  ~MainWindow() override;

  /// Runs when the window closes; the program's shutdown, which may end the process at once.
  void SetOnClose(std::function<void()> on_close) { on_close_ = std::move(on_close); }

  Chart& AdcGraph();
  Chart& Histo();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenu();
  QWidget* BuildCommandButtons(QWidget* parent);
  void CompactFrames();
  void BindWindow();

  Form& form_;
  ControlBinder binder_;
  QtChart* adc_graph_ = nullptr;
  QtChart* histo_ = nullptr;
  std::function<void()> on_close_;
};

}  // namespace korvane
