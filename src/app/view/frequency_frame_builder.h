#pragma once

class QGroupBox;
class QWidget;

namespace korvane {

class ControlBinder;
class Form;

/// Builds the frame `FraFreq` "Frequency": the clock, ACLK and decimation inputs and the three
/// rates the program works out from them, each box with its label.
class FrequencyFrameBuilder {
 public:
  FrequencyFrameBuilder(Form& form, ControlBinder& binder) : form_(form), binder_(binder) {}

  QGroupBox* Build(QWidget* parent);

 private:
  Form& form_;
  ControlBinder& binder_;
};

}  // namespace korvane
