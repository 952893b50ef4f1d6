#include "app/view/noise_window.h"

#include <QFormLayout>
#include <QFrame>
#include <QVBoxLayout>
#include <map>

#include "acquisition/last_block.h"

namespace korvane {

QString FigureCaption(const std::string& key) {
  static const std::map<std::string, QString> kCaptions{
      {"source", "Block"},
      {"readings", "Readings"},
      {"mean_code", "Mean, code"},
      {"mean_V", "Mean, V"},
      {"mean_C", "Mean, °C"},
      {"sigma_LSB", "σ, LSB"},
      {"sigma_uV_rms", "σ, µV rms"},
      {"peak_to_peak_LSB", "Peak-to-peak, LSB"},
      {"peak_to_peak_uV", "Peak-to-peak, µV"},
      {"effective_resolution_bits", "Effective resolution, bits"},
      {"noise_free_resolution_bits", "Noise-free resolution, bits"},
      {"min_code", "Min, code"},
      {"max_code", "Max, code"},
      {"min_V", "Min, V"},
      {"max_V", "Max, V"},
      {"min_C", "Min, °C"},
      {"max_C", "Max, °C"},
      {"clock_MHz", "Clock, MHz"},
      {"data_rate_Hz", "Data rate, Hz"},
      {"filter", "Filter"},
      {"gain", "PGA gain"},
      {"reference", "Reference"},
      {"polarity", "Polarity"},
      {"buffer", "Buffer"},
      {"channels", "Channels (+ / -)"},
      {"chip_averaging", "In-chip averaging"},
      {"input", "Input"},
      {"volts_per_lsb", "LSB, V"},
      {"full_scale_range_V", "FSR, V"},
      {"seconds_per_reading", "Reading period, s"},
      {"block_length", "Block length"}};
  const auto found = kCaptions.find(key);
  return found == kCaptions.end() ? QString::fromStdString(key) : found->second;
}

NoiseWindow::NoiseWindow(const LastBlock& block, QWidget* parent)
    : QWidget(parent, Qt::Window), block_(block) {
  setObjectName("NoiseWindow");
  setWindowTitle(kTitle);
  setAccessibleName(kTitle);
  auto* layout = new QVBoxLayout(this);
  empty_note_ = new QLabel("No block has closed yet: run the ADC, or open a recording.", this);
  empty_note_->setAccessibleName(empty_note_->text());
  layout->addWidget(empty_note_);
  figures_ = new QWidget(this);
  new QFormLayout(figures_);
  layout->addWidget(figures_);
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  layout->addWidget(line);
  recording_ = new QLabel(this);
  recording_->setObjectName("lblRecording");
  recording_->setWordWrap(true);
  recording_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  layout->addWidget(recording_);
  layout->addStretch(1);
  SetRecordingStatus("Not recording.");
  Refresh();
}

void NoiseWindow::Refresh() {
  empty_note_->setVisible(block_.Empty());
  figures_->setVisible(!block_.Empty());
  if (block_.Empty()) return;
  const auto lines = block_.Lines();
  bool same_keys = lines.size() == rows_.size();
  for (std::size_t i = 0; same_keys && i < lines.size(); ++i) {
    same_keys = lines[i].first == rows_[i].key;
  }
  if (!same_keys) Rebuild(lines);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    rows_[i].value->setText(QString::fromStdString(lines[i].second));
  }
}

void NoiseWindow::Rebuild(const std::vector<std::pair<std::string, std::string>>& lines) {
  auto* form = static_cast<QFormLayout*>(figures_->layout());
  while (form->rowCount() > 0) form->removeRow(0);
  rows_.clear();
  for (const auto& [key, value] : lines) {
    const QString caption = FigureCaption(key);
    auto* label = new QLabel(caption + ":", figures_);
    auto* shown = new QLabel(figures_);
    shown->setObjectName(QString::fromStdString("fig_" + key));
    shown->setAccessibleName(caption);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    shown->setFocusPolicy(Qt::StrongFocus);
    label->setBuddy(shown);
    form->addRow(label, shown);
    rows_.push_back({key, shown});
  }
}

void NoiseWindow::SetRecordingStatus(const QString& status) {
  recording_->setText(status);
  recording_->setAccessibleName(status);
}

}  // namespace korvane
