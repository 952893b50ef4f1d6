#include "app/view/measurement_frame_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/view/control_binder.h"
#include "app/view/qt_chart.h"
#include "app/view/reading_display.h"
#include "form/form.h"

namespace korvane {

namespace {

constexpr int kUnitsPointSize = 20;

/// Wide enough for the numbers these boxes hold, no wider.
void SetNumberWidth(QLineEdit& box, int characters) {
  box.setMaximumWidth(box.fontMetrics().horizontalAdvance(QString(characters, '0')) + 16);
}

}  // namespace

QGroupBox* MeasurementFrameBuilder::Build(QWidget* parent) {
  QGroupBox* frame = binder_.MakeFrame(form_.fraMeasADC, parent);
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(BuildReadingRow(frame));
  layout->addWidget(BuildModeRow(frame));
  layout->addWidget(BuildCharts(frame), 1);
  return frame;
}

QWidget* MeasurementFrameBuilder::BuildReadingRow(QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* display = new ReadingDisplay(row);
  binder_.BindPacedLabel(form_.txtDisplay, display->Text());
  for (int index = 0; index < ReadingDisplay::kSeparatorCount; ++index) {
    binder_.BindLine(form_.linSep[static_cast<std::size_t>(index)], display->Separator(index));
  }
  layout->addWidget(display, 0, Qt::AlignVCenter);

  auto* units = new QVBoxLayout;
  for (Label* model : {&form_.lblRazmernst, &form_.lblAver}) {
    QLabel* label = binder_.MakeLabel(*model, row);
    QFont font = label->font();
    font.setPointSize(kUnitsPointSize);
    font.setBold(true);
    label->setFont(font);
    units->addWidget(label);
  }
  units->addStretch(1);
  layout->addLayout(units);
  layout->addStretch(1);

  layout->addWidget(BuildDisplayModeFrame(row));
  auto* options = new QVBoxLayout;
  for (CheckBox* model : {&form_.chkTermWindow, &form_.chkLogFile, &form_.chkAutoZero}) {
    options->addWidget(binder_.MakeCheckBox(*model, row));
  }
  layout->addLayout(options);
  return row;
}

QGroupBox* MeasurementFrameBuilder::BuildDisplayModeFrame(QWidget* parent) {
  QGroupBox* frame = binder_.MakeFrame(form_.Frame2, parent);
  auto* layout = new QVBoxLayout(frame);
  for (std::size_t index : {2u, 1u, 0u}) {
    layout->addWidget(binder_.MakeOption(form_.optDataShow[index], frame));
  }
  return frame;
}

QWidget* MeasurementFrameBuilder::BuildModeRow(QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);

  QGroupBox* sampling = binder_.MakeFrame(form_.fraDataMode, row);
  auto* sampling_layout = new QVBoxLayout(sampling);
  QComboBox* sampling_list = binder_.MakeComboBox(form_.cboSampling, sampling);
  binder_.NameAfter(form_.fraDataMode, *sampling_list);
  sampling_layout->addWidget(sampling_list);
  sampling_layout->addStretch(1);

  layout->addWidget(sampling);
  layout->addWidget(BuildInChipFrame(row));
  layout->addWidget(BuildStatisticsFrame(row));
  layout->addStretch(1);
  return row;
}

QGroupBox* MeasurementFrameBuilder::BuildInChipFrame(QWidget* parent) {
  QGroupBox* frame = binder_.MakeFrame(form_.fraADCmode, parent);
  auto* layout = new QGridLayout(frame);
  QComboBox* mode = binder_.MakeComboBox(form_.cboAvgFil, frame);
  binder_.NameAfter(form_.fraADCmode, *mode);
  layout->addWidget(mode, 0, 0, 1, 2);

  QLineEdit* count = binder_.MakeTextBox(form_.txtPartMode, frame);
  SetNumberWidth(*count, 4);
  QLabel* count_label = binder_.MakeLabel(form_.lblPartMode, frame);
  count_label->setBuddy(count);
  binder_.NameAfter(form_.lblPartMode, *count);
  layout->addWidget(count_label, 1, 0);
  layout->addWidget(count, 1, 1);
  layout->setRowStretch(2, 1);
  return frame;
}

QGroupBox* MeasurementFrameBuilder::BuildStatisticsFrame(QWidget* parent) {
  QGroupBox* frame = binder_.MakeFrame(form_.fraStDev, parent);
  auto* layout = new QGridLayout(frame);
  struct Column {
    Label& label;
    TextBox& box;
    bool output;
  };
  const Column columns[] = {{form_.Label23[3], form_.txtDeviation, true},
                            {form_.Label23[2], form_.txtAverNumb, false},
                            {form_.Label23[0], form_.txtEfBits, true}};
  int column = 0;
  for (const Column& entry : columns) {
    QLineEdit* box = entry.output ? binder_.MakeOutputBox(entry.box, frame)
                                  : binder_.MakeTextBox(entry.box, frame);
    SetNumberWidth(*box, 8);
    QLabel* label = binder_.MakeLabel(entry.label, frame);
    label->setBuddy(box);
    binder_.NameAfter(entry.label, *box);
    layout->addWidget(label, 0, column);
    layout->addWidget(box, 1, column);
    ++column;
  }
  binder_.MakeLabel(form_.Label23[1], frame);  // an unused place of the label array
  return frame;
}

QWidget* MeasurementFrameBuilder::BuildCharts(QWidget* parent) {
  auto* charts = new QWidget(parent);
  auto* layout = new QHBoxLayout(charts);
  layout->setContentsMargins(0, 0, 0, 0);
  adc_graph_ = new QtChart(QtChart::Style::kLine, QStringLiteral("A D C   R E A D I N G S ."),
                           QStringLiteral("V O L T A G E ,  uV"), charts);
  adc_graph_->setObjectName(QStringLiteral("ADCGraph"));
  adc_graph_->setAccessibleName(QStringLiteral("ADC readings"));
  adc_graph_->setMinimumSize(240, 180);
  histo_ = new QtChart(QtChart::Style::kBars, QString(), QString(), charts);
  histo_->setObjectName(QStringLiteral("Histo"));
  histo_->setAccessibleName(QStringLiteral("Histogram"));
  histo_->setMinimumSize(160, 180);
  layout->addWidget(adc_graph_, 2);
  layout->addWidget(histo_, 1);
  return charts;
}

}  // namespace korvane
