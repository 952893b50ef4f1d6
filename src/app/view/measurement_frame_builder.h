#pragma once

class QGroupBox;
class QWidget;

namespace korvane {

class ControlBinder;
class Form;
class QtChart;

/// Builds the measurement side `fraMeasADC` "Korvane ADC Data": the reading display with its
/// units, the display-mode and option boxes, the sampling and statistics groups, both charts.
class MeasurementFrameBuilder {
 public:
  MeasurementFrameBuilder(Form& form, ControlBinder& binder) : form_(form), binder_(binder) {}

  QGroupBox* Build(QWidget* parent);

  QtChart* AdcGraph() const { return adc_graph_; }
  QtChart* Histo() const { return histo_; }

 private:
  QWidget* BuildReadingRow(QWidget* parent);
  QWidget* BuildModeRow(QWidget* parent);
  QGroupBox* BuildDisplayModeFrame(QWidget* parent);
  QGroupBox* BuildInChipFrame(QWidget* parent);
  QGroupBox* BuildStatisticsFrame(QWidget* parent);
  QWidget* BuildCharts(QWidget* parent);

  Form& form_;
  ControlBinder& binder_;
  QtChart* adc_graph_ = nullptr;
  QtChart* histo_ = nullptr;
};

}  // namespace korvane
