#include "app/view/noise_table_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QtConcurrent>

#include "adcconfig/adc_timing.h"
#include "app/main_form.h"
#include "app/noise_sweep.h"
#include "common/number_text.h"
#include "plot/noise_plot.h"
#include "records/block_export.h"
#include "records/csv_format.h"

namespace korvane {

/// The plot of the last table, drawn at the widget's size.
class NoisePlotView : public QWidget {
 public:
  explicit NoisePlotView(QWidget* parent) : QWidget(parent) { setMinimumSize(480, 320); }
  void Show(const NoiseTable& table) {
    table_ = table;
    update();
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    PaintNoisePlot(painter, QRectF(rect()), table_);
  }

 private:
  NoiseTable table_;
};

namespace {

/// The caption is the accessible name too, without the mnemonic's "&".
template <typename Widget>
Widget* Captioned(Widget* widget) {
  widget->setAccessibleName(widget->text().remove('&'));
  return widget;
}

void Warn(QWidget* parent, const QString& title, const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

QString RatesText(const std::vector<int>& decimations, double modulator_khz) {
  QStringList rates;
  for (const int decimation : decimations) {
    rates << QString::fromStdString(GeneralText(DataRateHz(modulator_khz, decimation)));
  }
  return rates.join(", ");
}

}  // namespace

NoiseTableDialog::NoiseTableDialog(NoiseSweep& sweep, QWidget* parent)
    : QDialog(parent), sweep_(sweep) {
  setWindowTitle(kTitle);
  setAccessibleName(kTitle);
  setObjectName("dlgNoiseTable");

  auto* gains = new QGroupBox("&Gains", this);
  gains->setAccessibleName("Gains");
  auto* gain_row = new QHBoxLayout(gains);
  for (std::size_t i = 0; i < gains_.size(); ++i) {
    gains_[i] = Captioned(new QCheckBox(QString::number(1 << i), gains));
    gains_[i]->setChecked(true);
    gain_row->addWidget(gains_[i]);
    connect(gains_[i], &QCheckBox::toggled, this, &NoiseTableDialog::ShowEstimate);
  }

  by_rate_ = Captioned(new QRadioButton("&Data rates, Hz", this));
  by_decimation_ = Captioned(new QRadioButton("D&ecimations", this));
  by_decimation_->setChecked(true);
  auto* kind = new QButtonGroup(this);
  kind->addButton(by_rate_);
  kind->addButton(by_decimation_);
  list_ = new QLineEdit("1920, 960, 480, 240", this);
  list_->setAccessibleName("Data rates or decimations");
  list_->setToolTip(
      "Comma-separated; each data rate must be the modulator rate over a whole "
      "decimation 1 .. 2047");
  list_note_ = new QLabel(this);
  readings_ = new QSpinBox(this);
  readings_->setRange(static_cast<int>(sweep_rules::kFewestReadings),
                      static_cast<int>(sweep_rules::kMostReadings));
  readings_->setValue(1000);
  readings_->setAccessibleName("Readings per cell");
  auto* readings_label = new QLabel("&Readings per cell:", this);
  readings_label->setBuddy(readings_);
  estimate_ = new QLabel(this);
  estimate_->setAccessibleName("Estimate");
  estimate_->setWordWrap(true);
  connect(by_rate_, &QRadioButton::toggled, this, [this](bool by_rate) {
    // The same cells in the other form, when the list reads.
    std::vector<int> decimations;
    const double modulator = sweep_.ModulatorKHz();
    const std::string text = list_->text().toStdString();
    if (by_rate && sweep_rules::ParseDecimations(text, decimations).empty()) {
      list_->setText(RatesText(decimations, modulator));
    } else if (std::vector<double> rates;
               !by_rate && sweep_rules::ParseRates(text, rates).empty() &&
               sweep_rules::DecimationsForRates(rates, modulator, decimations).empty()) {
      QStringList texts;
      for (const int decimation : decimations) texts << QString::number(decimation);
      list_->setText(texts.join(", "));
    }
    ShowEstimate();
  });
  connect(list_, &QLineEdit::textChanged, this, &NoiseTableDialog::ShowEstimate);
  connect(readings_, &QSpinBox::valueChanged, this, &NoiseTableDialog::ShowEstimate);

  auto* cells = new QGridLayout;
  cells->addWidget(by_rate_, 0, 0);
  cells->addWidget(by_decimation_, 0, 1);
  cells->addWidget(list_, 1, 0, 1, 3);
  cells->addWidget(list_note_, 2, 0, 1, 3);
  cells->addWidget(readings_label, 3, 0);
  cells->addWidget(readings_, 3, 1);

  start_ = Captioned(new QPushButton(kStart, this));
  cancel_ = Captioned(new QPushButton(kCancel, this));
  cancel_->setEnabled(false);
  progress_ = new QProgressBar(this);
  progress_->setAccessibleName("Progress");
  progress_text_ = new QLabel(this);
  progress_text_->setAccessibleName("Progress text");
  connect(start_, &QPushButton::clicked, this, &NoiseTableDialog::Start);
  connect(cancel_, &QPushButton::clicked, this, [this] { sweep_.Cancel(); });
  auto* run_row = new QHBoxLayout;
  run_row->addWidget(start_);
  run_row->addWidget(cancel_);
  run_row->addWidget(progress_, 1);

  tabs_ = new QTabWidget(this);
  table_ = new QTextBrowser(this);
  table_->setAccessibleName("Table");
  plot_ = new NoisePlotView(this);
  plot_->setAccessibleName("Plot");
  tabs_->addTab(table_, "&Table");
  tabs_->addTab(plot_, "P&lot");

  exports_ = {Captioned(new QPushButton(kExportCsv, this)),
              Captioned(new QPushButton(kExportMarkdown, this)),
              Captioned(new QPushButton(kSavePlot, this))};
  connect(exports_[0], &QPushButton::clicked, this, [this] {
    Export("Export Noise Table as CSV", "noise-table.csv", "CSV files (*.csv);;All files (*)",
           false);
  });
  connect(exports_[1], &QPushButton::clicked, this, [this] {
    Export("Export Noise Table as Markdown", "noise-table.md",
           "Markdown files (*.md);;All files (*)", true);
  });
  connect(exports_[2], &QPushButton::clicked, this, &NoiseTableDialog::SavePlot);
  auto* close = Captioned(new QPushButton("Cl&ose", this));
  connect(close, &QPushButton::clicked, this, &NoiseTableDialog::reject);
  auto* export_row = new QHBoxLayout;
  for (QPushButton* button : exports_) {
    button->setEnabled(false);
    export_row->addWidget(button);
  }
  export_row->addStretch(1);
  export_row->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(gains);
  layout->addLayout(cells);
  layout->addWidget(estimate_);
  layout->addLayout(run_row);
  layout->addWidget(progress_text_);
  layout->addWidget(tabs_, 1);
  layout->addLayout(export_row);
  start_->setDefault(true);
  ShowEstimate();
}

QString NoiseTableDialog::ReadPlan(SweepPlan& plan) const {
  plan = SweepPlan{};
  for (std::size_t i = 0; i < gains_.size(); ++i) {
    if (gains_[i]->isChecked()) plan.gains.push_back(1 << i);
  }
  plan.readings = readings_->value();
  const std::string text = list_->text().toStdString();
  std::string why;
  if (by_rate_->isChecked()) {
    std::vector<double> rates;
    why = sweep_rules::ParseRates(text, rates);
    if (why.empty()) {
      why = sweep_rules::DecimationsForRates(rates, sweep_.ModulatorKHz(), plan.decimations);
    }
  } else {
    why = sweep_rules::ParseDecimations(text, plan.decimations);
  }
  if (why.empty()) why = sweep_rules::CheckPlan(plan);
  if (!why.empty()) why[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(why[0])));
  return QString::fromStdString(why);
}

void NoiseTableDialog::ShowEstimate() {
  const double modulator = sweep_.ModulatorKHz();
  SweepPlan plan;
  const QString why = ReadPlan(plan);
  QStringList shown;
  for (const int decimation : plan.decimations) {
    shown << (by_rate_->isChecked()
                  ? QString::number(decimation)
                  : QString::fromStdString(GeneralText(DataRateHz(modulator, decimation))));
  }
  const QString at = QStringLiteral(" at a modulator rate of %1 kHz")
                         .arg(QString::fromStdString(GeneralText(modulator)));
  if (plan.decimations.empty()) {
    list_note_->setText(QStringLiteral("Data rates from %1 to %2 Hz")
                            .arg(QString::fromStdString(GeneralText(
                                DataRateHz(modulator, sweep_rules::kLargestDecimation))))
                            .arg(QString::fromStdString(GeneralText(DataRateHz(modulator, 1)))) +
                        at);
  } else {
    list_note_->setText((by_rate_->isChecked() ? "Decimations " + shown.join(", ")
                                               : "Data rates " + shown.join(", ") + " Hz") +
                        at);
  }
  if (!why.isEmpty()) {
    estimate_->setText(why + ".");
    start_->setEnabled(false);
    return;
  }
  estimate_->setText(
      QStringLiteral("%1 cells, %2 readings each: %3 at the current settings.")
          .arg(plan.gains.size() * plan.decimations.size())
          .arg(plan.readings)
          .arg(QString::fromStdString(sweep_rules::DurationText(sweep_.EstimatedSeconds(plan)))));
  start_->setEnabled(!sweep_.Going());
}

void NoiseTableDialog::Start() {
  SweepPlan plan;
  const QString why = ReadPlan(plan);
  if (!why.isEmpty() || sweep_.Going()) return;
  SetRunning(true);
  progress_->setRange(0, 0);
  progress_text_->setText("Setting up the first cell...");
  sweep_.SetOnProgress([this] { ShowProgress(); });
  sweep_.Run(plan);
  sweep_.SetOnProgress(nullptr);
  SetRunning(false);
  ShowTable();
  const NoiseTable& table = sweep_.Table();
  if (table.incomplete.empty()) {
    progress_->setValue(1);
    progress_text_->setText(QStringLiteral("%1 cells measured.").arg(table.cells.size()));
  } else if (table.planned_cells == 0) {
    progress_text_->setText("Not started: " + QString::fromStdString(table.incomplete) + ".");
  } else {
    progress_text_->setText(QStringLiteral("Ended early (%1): %2 of %3 cells kept.")
                                .arg(QString::fromStdString(table.incomplete))
                                .arg(table.cells.size())
                                .arg(table.planned_cells));
  }
}

void NoiseTableDialog::ShowProgress() {
  const auto planned = sweep_.ReadingsPlanned();
  if (planned <= 0 || planned > std::numeric_limits<int>::max()) return;
  progress_->setRange(0, static_cast<int>(planned));
  progress_->setValue(static_cast<int>(sweep_.ReadingsDone()));
  const NoiseTable& table = sweep_.Table();
  QString text = QStringLiteral("Cell %1 of %2").arg(sweep_.CellNumber()).arg(table.planned_cells);
  const double left = sweep_.SecondsLeft();
  if (left > 0) text += ", " + QString::fromStdString(sweep_rules::DurationText(left)) + " left";
  progress_text_->setText(text);
  if (!table.cells.empty() && static_cast<int>(table.cells.size()) != table_->property("cells")) {
    ShowTable();
  }
}

void NoiseTableDialog::ShowTable() {
  const NoiseTable& table = sweep_.Table();
  table_->setProperty("cells", static_cast<int>(table.cells.size()));
  table_->setMarkdown(QString::fromStdString(NoiseTableMarkdown(table)));
  plot_->Show(table);
  for (QPushButton* button : exports_) button->setEnabled(!table.cells.empty() && !sweep_.Going());
}

void NoiseTableDialog::SetRunning(bool running) {
  start_->setEnabled(!running);
  cancel_->setEnabled(running);
  for (QCheckBox* gain : gains_) gain->setEnabled(!running);
  for (QWidget* widget : {static_cast<QWidget*>(by_rate_), static_cast<QWidget*>(by_decimation_),
                          static_cast<QWidget*>(list_), static_cast<QWidget*>(readings_)}) {
    widget->setEnabled(!running);
  }
  for (QPushButton* button : exports_) button->setEnabled(false);
  (running ? cancel_ : start_)->setFocus();
  if (!running) progress_->setRange(0, 1);
}

void NoiseTableDialog::Export(const QString& title, const QString& name, const QString& filter,
                              bool markdown) {
  const QString path = QFileDialog::getSaveFileName(this, title, name, filter);
  if (path.isEmpty()) return;
  const NoiseTable& table = sweep_.Table();
  const std::string text =
      markdown ? NoiseTableMarkdown(table) : NoiseTableCsv(table, VersionText(), UtcTimeText());
  const std::string error = WriteWholeFile(path.toStdString(), text);
  if (!error.empty()) Warn(this, title, QString::fromStdString(error));
}

void NoiseTableDialog::SavePlot() {
  const QString path =
      QFileDialog::getSaveFileName(this, "Save Plot", "noise-table.png", "PNG images (*.png)");
  if (path.isEmpty()) return;
  auto* watcher = new QFutureWatcher<QString>(this);
  connect(watcher, &QFutureWatcher<QString>::finished, this, [this, watcher] {
    if (!watcher->result().isEmpty()) Warn(this, "Save Plot", watcher->result());
    watcher->deleteLater();
  });
  watcher->setFuture(
      QtConcurrent::run([table = sweep_.Table(), path] { return SaveNoisePlotPng(table, path); }));
}

void NoiseTableDialog::reject() {
  // Closing ends the sweep as Cancel does; the dialog closes once its run has stopped.
  if (sweep_.Going()) {
    sweep_.Cancel();
    return;
  }
  QDialog::reject();
}

}  // namespace korvane
