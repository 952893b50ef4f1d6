#pragma once

#include <cstddef>

class QGroupBox;
class QWidget;

namespace korvane {

class ComboBox;
class ControlBinder;
class Form;

/// Builds the settings side `fraADCset` "Korvane ADC Settings": the frame `frmADCset` "ADC
/// Setting" (filter, calibration, gain, reference, buffer and burn-out boxes, polarity, input
/// channels, offset DAC) above the frame `FraFreq` "Frequency".
class SettingsFrameBuilder {
 public:
  SettingsFrameBuilder(Form& form, ControlBinder& binder) : form_(form), binder_(binder) {}

  QGroupBox* Build(QWidget* parent);

 private:
  QGroupBox* BuildAdcSetting(QWidget* parent);
  QGroupBox* BuildListFrame(std::size_t frame_index, ComboBox& list, QWidget* parent);
  QWidget* BuildGain(QWidget* parent);
  QGroupBox* BuildReference(QWidget* parent);
  QGroupBox* BuildPolarity(QWidget* parent);
  QGroupBox* BuildInputChannels(QWidget* parent);
  QGroupBox* BuildOffsetDac(QWidget* parent);

  Form& form_;
  ControlBinder& binder_;
};

}  // namespace korvane
