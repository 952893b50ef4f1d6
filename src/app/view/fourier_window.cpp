#include "app/view/fourier_window.h"

#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <map>

#include "acquisition/last_block.h"
#include "app/view/chart_export.h"
#include "app/view/noise_window.h"
#include "qcustomplot.h"

namespace korvane {

namespace {

/// A control with its caption in front, named for screen readers as the caption reads.
void AddRow(QFormLayout& form, const QString& caption, QWidget* control) {
  auto* label = new QLabel(caption + ":", control->parentWidget());
  label->setBuddy(control);
  control->setAccessibleName(QString(caption).remove('&'));
  form.addRow(label, control);
}

QString SpectrumCaption(const std::string& key) {
  static const std::map<std::string, QString> kCaptions{
      {"window", "Window"},
      {"averaging", "Averaging"},
      {"sample_rate_Hz", "Sample rate, Hz"},
      {"bin_width_Hz", "Bin width, Hz"},
      {"segments", "Segments averaged"},
      {"band_Hz", "Band, Hz"},
      {"band_noise", "Band noise"},
      {"band_noise_uV_rms", "Band noise, µV rms"},
      {"band_noise_code_rms", "Band noise, code rms"},
      {"band_density", "Band mean density"},
      {"tone", "Tone"},
      {"tone_frequency_Hz", "Fundamental, Hz"},
      {"tone_level_dBFS", "Fundamental, dBFS"},
      {"snr_dB", "SNR, dB"},
      {"thd_dBc", "THD, dBc"},
      {"sinad_dB", "SINAD, dB"},
      {"sfdr_dBc", "SFDR, dBc"},
      {"enob_bits", "ENOB (SINAD), bits"},
      {"sine_fit", "Sine fit"},
      {"fit_amplitude_V", "Fit amplitude, V"},
      {"fit_amplitude_code", "Fit amplitude, code"},
      {"fit_frequency_Hz", "Fit frequency, Hz"},
      {"fit_residual_uV_rms", "Fit residual, µV rms"},
      {"fit_residual_code_rms", "Fit residual, code rms"},
      {"fit_enob_bits", "ENOB (fit), bits"}};
  const auto found = kCaptions.find(key);
  return found == kCaptions.end() ? FigureCaption(key) : found->second;
}

void Warn(QWidget* parent, const QString& title, const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

}  // namespace

SpectrumWindow::SpectrumWindow(const LastBlock& block, QWidget* parent)
    : QWidget(parent, Qt::Window), block_(block) {
  setObjectName("SpectrumWindow");
  setWindowTitle(kTitle);
  setAccessibleName(kTitle);
  auto* layout = new QHBoxLayout(this);
  auto* side = new QVBoxLayout;
  auto* controls = new QFormLayout;
  side->addLayout(controls);

  show_ = new QComboBox(this);
  show_->setObjectName("cboShow");
  show_->addItems({"Magnitude, dBFS", "Density, nV/√Hz", "Density, µV/√Hz"});
  AddRow(*controls, "S&how", show_);
  window_ = new QComboBox(this);
  window_->setObjectName("cboWindow");
  window_->addItems({"Rectangular", "Hann", "Blackman-Harris 4-term", "Blackman-Harris 7-term"});
  // Exact tone figures between bins too; noise reads right with every window.
  window_->setCurrentIndex(static_cast<int>(WindowKind::kBlackmanHarris7));
  AddRow(*controls, "&Window", window_);
  segment_ = new QComboBox(this);
  segment_->setObjectName("cboSegment");
  segment_->addItem("Whole record", 0);
  for (int length = 256; length <= 65536; length *= 2)
    segment_->addItem(QString::number(length), length);
  AddRow(*controls, "&Segment length", segment_);
  overlap_ = new QSpinBox(this);
  overlap_->setObjectName("spnOverlap");
  overlap_->setRange(0, 95);
  overlap_->setValue(50);
  overlap_->setSuffix(" %");
  AddRow(*controls, "&Overlap", overlap_);
  log_axis_ = new QCheckBox("&Log frequency axis", this);
  log_axis_->setObjectName("chkLogAxis");
  log_axis_->setAccessibleName("Log frequency axis");
  controls->addRow(log_axis_);
  band_low_ = new QDoubleSpinBox(this);
  band_low_->setObjectName("spnBandLow");
  band_low_->setRange(0, 1e6);
  band_low_->setDecimals(3);
  AddRow(*controls, "&Band from, Hz", band_low_);
  band_high_ = new QDoubleSpinBox(this);
  band_high_->setObjectName("spnBandHigh");
  band_high_->setRange(0, 1e6);
  band_high_->setDecimals(3);
  band_high_->setSpecialValueText("Nyquist");
  AddRow(*controls, "Band &to, Hz", band_high_);

  auto* buttons = new QHBoxLayout;
  auto* export_csv = new QPushButton("&Export CSV...", this);
  export_csv->setObjectName("cmdExportCsv");
  export_csv->setAccessibleName("Export CSV...");
  auto* save_plot = new QPushButton("Save &Plot...", this);
  save_plot->setObjectName("cmdSavePlot");
  save_plot->setAccessibleName("Save Plot...");
  buttons->addWidget(export_csv);
  buttons->addWidget(save_plot);
  side->addLayout(buttons);

  message_ = new QLabel("No block has closed yet: run the ADC, or open a recording.", this);
  message_->setObjectName("lblSpectrumMessage");
  message_->setWordWrap(true);
  message_->setAccessibleName(message_->text());
  side->addWidget(message_);
  figures_ = new QWidget(this);
  figure_form_ = new QFormLayout(figures_);
  side->addWidget(figures_);
  side->addStretch(1);

  plot_ = new QCustomPlot(this);
  plot_->setObjectName("plotSpectrum");
  plot_->setAccessibleName("Spectrum plot");
  plot_->setMinimumSize(520, 360);
  plot_->addGraph();
  plot_->xAxis->setLabel("Frequency, Hz");
  plot_->yAxis->setLabel("Magnitude, dBFS");
  plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  layout->addWidget(plot_, 1);
  layout->addLayout(side);

  const auto again = [this] {
    if (current_ != nullptr) Submit(current_);
  };
  connect(show_, &QComboBox::currentIndexChanged, this, again);
  connect(window_, &QComboBox::currentIndexChanged, this, again);
  connect(segment_, &QComboBox::currentIndexChanged, this, again);
  connect(overlap_, &QSpinBox::valueChanged, this, again);
  connect(band_low_, &QDoubleSpinBox::valueChanged, this, again);
  connect(band_high_, &QDoubleSpinBox::valueChanged, this, again);
  connect(log_axis_, &QCheckBox::toggled, this, &SpectrumWindow::Draw);
  connect(&watcher_, &QFutureWatcher<SpectrumResult>::finished, this, &SpectrumWindow::Finished);
  connect(export_csv, &QPushButton::clicked, this, &SpectrumWindow::ExportCsv);
  connect(save_plot, &QPushButton::clicked, this, &SpectrumWindow::SavePlot);
}

void SpectrumWindow::Refresh() {
  if (block_.Empty()) return;
  follows_block_ = true;
  Submit(std::make_shared<const SpectrumInput>(
      SpectrumInput{block_.Codes(), block_.Settings(), block_.Source()}));
}

void SpectrumWindow::Analyse(SpectrumInput input) {
  follows_block_ = false;
  Submit(std::make_shared<const SpectrumInput>(std::move(input)));
}

SpectrumRequest SpectrumWindow::Request() const {
  SpectrumRequest request;
  request.window = static_cast<WindowKind>(window_->currentIndex());
  request.segment_length = segment_->currentData().toULongLong();
  request.overlap = overlap_->value() / 100.0;
  request.density = show_->currentIndex() > 0;
  request.micro = show_->currentIndex() == 2;
  request.band_low_hz = band_low_->value();
  request.band_high_hz = band_high_->value();
  return request;
}

void SpectrumWindow::Submit(std::shared_ptr<const SpectrumInput> input) {
  // Only the newest record waits: one that has not started yet is replaced, never queued.
  pending_ = std::move(input);
  ++submitted_;
  if (!watcher_.isRunning()) StartPending();
}

void SpectrumWindow::StartPending() {
  running_ = std::move(pending_);
  pending_.reset();
  running_number_ = submitted_;
  running_request_ = Request();
  watcher_.setFuture(QtConcurrent::run(
      [input = running_, request = running_request_] { return AnalyseRecord(*input, request); }));
}

void SpectrumWindow::Finished() {
  // A newer record (or newer settings) came while this one ran: its result is stale.
  if (running_number_ == submitted_) {
    shown_ = watcher_.result();
    shown_request_ = running_request_;
    current_ = running_;
    ++results_shown_;
    Draw();
    ShowFigures();
  }
  running_.reset();
  if (pending_ != nullptr) StartPending();
}

void SpectrumWindow::Draw() {
  const bool log_axis = log_axis_->isChecked();
  plot_->xAxis->setScaleType(log_axis ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
  if (log_axis) {
    plot_->xAxis->setTicker(QSharedPointer<QCPAxisTickerLog>(new QCPAxisTickerLog));
  } else {
    plot_->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
  }
  // Density spans decades too: drawn on a log scale like the frequency.
  const bool density = shown_request_.density && shown_.message.empty();
  // A log axis rescales only to values of its range's sign: leave the negative dBFS range first.
  if (density && plot_->yAxis->range().lower <= 0) plot_->yAxis->setRange(1, 10);
  plot_->yAxis->setScaleType(density ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
  if (density) {
    plot_->yAxis->setTicker(QSharedPointer<QCPAxisTickerLog>(new QCPAxisTickerLog));
  } else {
    plot_->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
  }
  plot_->yAxis->setLabel(QString::fromStdString(
      shown_.value_caption.empty() ? std::string("Magnitude, dBFS") : shown_.value_caption));
  QVector<double> keys(shown_.frequency_hz.begin(), shown_.frequency_hz.end());
  QVector<double> values(shown_.value.begin(), shown_.value.end());
  if (density) {
    for (double& value : values) value = std::max(value, 1e-12);
  }
  plot_->graph(0)->setData(keys, values, true);
  plot_->rescaleAxes();
  plot_->replot();
}

void SpectrumWindow::ShowFigures() {
  message_->setVisible(!shown_.message.empty());
  message_->setText(QString::fromStdString(shown_.message));
  message_->setAccessibleName(message_->text());
  while (figure_form_->rowCount() > 0) figure_form_->removeRow(0);
  for (const auto& [key, value] : shown_.figures) {
    const QString caption = SpectrumCaption(key);
    auto* label = new QLabel(caption + ":", figures_);
    auto* shown = new QLabel(QString::fromStdString(value), figures_);
    shown->setObjectName(QString::fromStdString("fig_" + key));
    shown->setAccessibleName(caption);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    shown->setFocusPolicy(Qt::StrongFocus);
    label->setBuddy(shown);
    figure_form_->addRow(label, shown);
  }
}

void SpectrumWindow::ExportCsv() {
  if (current_ == nullptr) return Warn(this, "Export CSV", "There is no spectrum to export yet.");
  const QString path = QFileDialog::getSaveFileName(this, "Export Spectrum as CSV", "spectrum.csv",
                                                    "CSV files (*.csv);;All files (*)");
  if (path.isEmpty()) return;
  QFile file(path);
  const std::string text = SpectrumCsv(*current_, shown_request_, shown_);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size()) ||
      !file.flush()) {
    Warn(this, "Export CSV", "Cannot write the spectrum to \"" + path + "\".");
  }
}

void SpectrumWindow::SavePlot() {
  const QString path = QFileDialog::getSaveFileName(this, "Save Spectrum Plot", "spectrum.png",
                                                    "PNG images (*.png);;PDF files (*.pdf)");
  if (path.isEmpty()) return;
  const QString error = SaveChart(*plot_, path);
  if (!error.isEmpty()) Warn(this, "Save Plot", error);
}

}  // namespace korvane
