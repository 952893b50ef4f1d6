#include "app/view/settings_frame_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/view/control_binder.h"
#include "app/view/frequency_frame_builder.h"
#include "form/form.h"

namespace korvane {

namespace {

constexpr std::size_t kCalibrationFrame = 0;
constexpr std::size_t kPolarityFrame = 1;
constexpr std::size_t kUnusedFrame = 2;
constexpr std::size_t kFilterFrame = 3;
constexpr std::size_t kInputFrame = 4;
constexpr std::size_t kReferenceFrame = 5;

/// The small "<" and ">" stepping buttons.
void MakeNarrow(QPushButton& button) {
  button.setFixedWidth(button.fontMetrics().horizontalAdvance(QStringLiteral("<<<")) + 12);
}

void SetBoxWidth(QLineEdit& box, const QString& widest) {
  box.setFixedWidth(box.fontMetrics().horizontalAdvance(widest) + 16);
  box.setAlignment(Qt::AlignCenter);
}

}  // namespace

QGroupBox* SettingsFrameBuilder::Build(QWidget* parent) {
  QGroupBox* frame = binder_.MakeFrame(form_.fraADCset, parent);
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(BuildAdcSetting(frame));
  layout->addWidget(FrequencyFrameBuilder(form_, binder_).Build(frame));
  layout->addStretch(1);
  return frame;
}

QGroupBox* SettingsFrameBuilder::BuildAdcSetting(QWidget* parent) {
  QGroupBox* frame = binder_.MakeFrame(form_.frmADCset, parent);
  auto* layout = new QGridLayout(frame);
  layout->addWidget(BuildListFrame(kFilterFrame, form_.cboFilter, frame), 0, 0);
  layout->addWidget(BuildListFrame(kCalibrationFrame, form_.cboCalibr, frame), 0, 1);
  layout->addWidget(BuildGain(frame), 1, 0);

  auto* boxes = new QVBoxLayout;
  boxes->addWidget(binder_.MakeCheckBox(form_.chkBuffer, frame));
  boxes->addWidget(binder_.MakeCheckBox(form_.chkBOD, frame));
  layout->addLayout(boxes, 1, 1);

  layout->addWidget(BuildReference(frame), 2, 0);
  layout->addWidget(BuildPolarity(frame), 2, 1);
  layout->addWidget(BuildInputChannels(frame), 3, 0, 1, 2);
  layout->addWidget(BuildOffsetDac(frame), 4, 0, 1, 2);
  binder_.MakeFrame(form_.Frame1[kUnusedFrame], frame);  // an unused place of the frame array
  return frame;
}

QGroupBox* SettingsFrameBuilder::BuildListFrame(std::size_t frame_index, ComboBox& list,
                                                QWidget* parent) {
  Frame& frame_model = form_.Frame1[frame_index];
  QGroupBox* frame = binder_.MakeFrame(frame_model, parent);
  auto* layout = new QVBoxLayout(frame);
  QComboBox* combo = binder_.MakeComboBox(list, frame);
  binder_.NameAfter(frame_model, *combo);
  layout->addWidget(combo);
  return frame;
}

QWidget* SettingsFrameBuilder::BuildGain(QWidget* parent) {
  auto* gain = new QWidget(parent);
  auto* layout = new QGridLayout(gain);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setHorizontalSpacing(2);
  QLineEdit* box = binder_.MakeOutputBox(form_.txtPGAGain, gain);
  SetBoxWidth(*box, QStringLiteral("0000"));
  QLabel* label = binder_.MakeLabel(form_.label2[0], gain);
  label->setBuddy(box);
  binder_.NameAfter(form_.label2[0], *box);
  QPushButton* down = binder_.MakeButton(form_.cmdGainChange[0], gain);
  QPushButton* up = binder_.MakeButton(form_.cmdGainChange[1], gain);
  MakeNarrow(*down);
  MakeNarrow(*up);
  layout->addWidget(label, 0, 0, 1, 3, Qt::AlignHCenter);
  layout->addWidget(down, 1, 0);
  layout->addWidget(box, 1, 1);
  layout->addWidget(up, 1, 2);
  layout->setColumnStretch(3, 1);
  return gain;
}

QGroupBox* SettingsFrameBuilder::BuildReference(QWidget* parent) {
  QGroupBox* frame = binder_.MakeFrame(form_.Frame1[kReferenceFrame], parent);
  auto* layout = new QVBoxLayout(frame);
  for (OptionButton& option : form_.optRef) layout->addWidget(binder_.MakeOption(option, frame));
  return frame;
}

QGroupBox* SettingsFrameBuilder::BuildPolarity(QWidget* parent) {
  QGroupBox* frame = binder_.MakeFrame(form_.Frame1[kPolarityFrame], parent);
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(binder_.MakeOption(form_.optPolarity[1], frame));
  layout->addWidget(binder_.MakeOption(form_.optPolarity[0], frame));
  layout->addWidget(binder_.MakeLabel(form_.lblPolRange, frame));
  return frame;
}

QGroupBox* SettingsFrameBuilder::BuildInputChannels(QWidget* parent) {
  QGroupBox* frame = binder_.MakeFrame(form_.Frame1[kInputFrame], parent);
  auto* layout = new QGridLayout(frame);
  layout->setHorizontalSpacing(2);
  auto* inputs = new QHBoxLayout;
  inputs->addWidget(binder_.MakeOption(form_.optADCinput[1], frame));
  inputs->addWidget(binder_.MakeOption(form_.optADCinput[0], frame));
  inputs->addStretch(1);
  layout->addLayout(inputs, 0, 0, 1, 4);

  // Positive input on row 1 with buttons 0 and 1, negative input on row 2 with buttons 2 and 3.
  for (std::size_t channel = 0; channel < form_.txtChannel.size(); ++channel) {
    const int row = static_cast<int>(channel) + 1;
    QLineEdit* box = binder_.MakeOutputBox(form_.txtChannel[channel], frame);
    SetBoxWidth(*box, QStringLiteral("AINCOMM"));
    Label& label_model = form_.Label1[channel + 2];
    QLabel* label = binder_.MakeLabel(label_model, frame);
    label->setBuddy(box);
    binder_.NameAfter(label_model, *box);
    QPushButton* down = binder_.MakeButton(form_.cmdChanelMinusPlus[2 * channel], frame);
    QPushButton* up = binder_.MakeButton(form_.cmdChanelMinusPlus[2 * channel + 1], frame);
    MakeNarrow(*down);
    MakeNarrow(*up);
    layout->addWidget(down, row, 0);
    layout->addWidget(box, row, 1);
    layout->addWidget(up, row, 2);
    layout->addWidget(label, row, 3);
  }
  layout->setColumnStretch(3, 1);
  binder_.MakeLabel(form_.Label1[0], frame);  // unused places of the label array
  binder_.MakeLabel(form_.Label1[1], frame);
  return frame;
}

QGroupBox* SettingsFrameBuilder::BuildOffsetDac(QWidget* parent) {
  QGroupBox* frame = binder_.MakeFrame(form_.fraOffsetDAC, parent);
  auto* layout = new QHBoxLayout(frame);
  QLineEdit* box = binder_.MakeTextBox(form_.txtOfstDAC, frame);
  SetBoxWidth(*box, QStringLiteral("-0000"));
  QLabel* label = binder_.MakeLabel(form_.label2[6], frame);
  label->setBuddy(box);
  binder_.NameAfter(form_.label2[6], *box);
  layout->addWidget(binder_.MakeButton(form_.cmdODAC, frame));
  layout->addWidget(box);
  layout->addWidget(label);
  layout->addStretch(1);
  return frame;
}

}  // namespace korvane
