#pragma once

#include <QDialog>
#include <array>

#include "app/sweep_plan.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTextBrowser;

namespace korvane {

class NoiseSweep;
class NoisePlotView;

/// "Noise Table...": chooses the gains, the data rates (or decimations) and the readings per
/// cell, runs the sweep with a progress bar, the time left and Cancel, and shows the table and
/// its plot, which it exports as CSV, Markdown and PNG. The sweep runs on the event loop like a
/// run; the PNG is drawn and written off the window's thread.
class NoiseTableDialog : public QDialog {
  Q_OBJECT

 public:
  NoiseTableDialog(NoiseSweep& sweep, QWidget* parent);

  /// Starts the sweep as the Start button does; returns once it has ended.
  void Start();

  static constexpr const char* kTitle = "Noise Table";
  static constexpr const char* kStart = "&Start";
  static constexpr const char* kCancel = "&Cancel";
  static constexpr const char* kExportCsv = "Export CS&V...";
  static constexpr const char* kExportMarkdown = "Export &Markdown...";
  static constexpr const char* kSavePlot = "Save &Plot...";

  void reject() override;

 private:
  /// The plan the controls describe; "" when it can run, else why not (shown in place of the
  /// estimate).
  QString ReadPlan(SweepPlan& plan) const;
  void ShowEstimate();
  void ShowProgress();
  void ShowTable();
  void SetRunning(bool running);
  void Export(const QString& title, const QString& name, const QString& filter, bool markdown);
  void SavePlot();

  NoiseSweep& sweep_;
  std::array<QCheckBox*, 8> gains_{};
  QRadioButton* by_rate_ = nullptr;
  QRadioButton* by_decimation_ = nullptr;
  QLineEdit* list_ = nullptr;
  QLabel* list_note_ = nullptr;
  QSpinBox* readings_ = nullptr;
  QLabel* estimate_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* progress_text_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QTextBrowser* table_ = nullptr;
  NoisePlotView* plot_ = nullptr;
  std::array<QPushButton*, 3> exports_{};
};

}  // namespace korvane
