#pragma once

#include "form/form.h"

namespace korvane {

/// The sampling-mode and in-chip averaging selectors next to the reading display: they decide
/// which of the averaging boxes are shown. A change stops a running acquisition but leaves the
/// chip's configuration alone.
class SamplingSelectors {
 public:
  explicit SamplingSelectors(Form& form) : form_(form) {}

  /// "None" hides the count box and its label; "Averaging" and "Filtering" show them with the
  /// range of that mode (averaging's range as the polarity is now).
  void cboAvgFil_Click();
  /// "Sample" shows the average mark; "Sample" and "Continuous" show the PC statistics; "Once"
  /// hides them and sets the in-chip selector back to "None".
  void cboSampling_Click();
  void txtPartMode_Change() { form_.TestGo = false; }

 private:
  Form& form_;
};

}  // namespace korvane
