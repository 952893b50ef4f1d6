#pragma once

#include "form/form.h"
#include "link/board_link.h"

namespace korvane {

/// The "Load DAC" button: writes the offset DAC (register E6) at once, outside the ADC set-up.
class OffsetDac {
 public:
  OffsetDac(Form& form, BoardLink& link) : form_(form), link_(link) {}

  /// Clamps the box to -128..127, shows the value, sends it and reports whether the board took
  /// it. During a run the click stops the run and the load follows when the run has ended.
  void cmdODAC_Click();
  void txtOfstDAC_Change() { form_.TestGo = false; }

  static constexpr int kTimeoutMs = 100;
  static constexpr const char* kLoaded = "OFFSET  DAC  LOADED";
  static constexpr const char* kNotLoaded = "OFFSET  DAC  NOT  LOADED";

 private:
  void LoadDac();

  Form& form_;
  BoardLink& link_;
  bool load_queued_ = false;
};

}  // namespace korvane
