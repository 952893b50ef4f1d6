#pragma once

#include <QString>
#include <functional>

class QMenu;
class QMenuBar;
class QWidget;

namespace korvane {

class Form;
class QtChart;

/// What the "&Graph" menu asks of the user. The defaults are the program's dialogs; tests give
/// their own.
struct GraphMenuPrompts {
  /// The file to save a chart to, titled `title`; empty when the user cancels.
  std::function<QString(const QString& title)> ask_file_name;
  /// Tells the user that saving failed.
  std::function<void(const QString& text)> show_error;

  /// The save dialog and a critical message box over `window`, titled with the window's title.
  static GraphMenuPrompts Dialogs(QWidget& window);
};

/// The "&Graph" menu: pause the time graph, return it to automatic scaling, and save the time
/// graph or the histogram as PNG or PDF. Also lets the user zoom, pan and read the time graph
/// with the mouse (a crosshair reads index, time and value). Adds nothing else to the window.
class GraphMenuBuilder {
 public:
  GraphMenuBuilder(Form& form, QtChart& time_graph, QtChart& histogram);

  QMenu* Build(QMenuBar& menu_bar, GraphMenuPrompts prompts);
  QMenu* Build(QMenuBar& menu_bar);

  static constexpr const char* kPause = "&Pause";
  static constexpr const char* kAutoScale = "&Auto scale";
  static constexpr const char* kExportTimeGraph = "Export &time graph...";
  static constexpr const char* kExportHistogram = "Export &histogram...";

 private:
  Form& form_;
  QtChart& time_graph_;
  QtChart& histogram_;
};

}  // namespace korvane
