#pragma once

#include <array>

class QLabel;
class QProgressBar;
class QStatusBar;

namespace korvane {

class ControlBinder;
class Form;

/// Fills the status bar with the five panels of the form (Msg, Progress, FSR, ComSettings,
/// Version) at their widths, and lays the progress bar exactly over the second panel.
class StatusBarBuilder {
 public:
  StatusBarBuilder(Form& form, ControlBinder& binder) : form_(form), binder_(binder) {}

  void Build(QStatusBar& status_bar);

 private:
  Form& form_;
  ControlBinder& binder_;
};

}  // namespace korvane
