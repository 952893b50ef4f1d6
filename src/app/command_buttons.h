#pragma once

#include "adcconfig/adc_setup.h"
#include "form/form.h"
#include "link/board_link.h"
#include "loader/program_loader.h"

namespace korvane {

/// The command buttons `cmdCntr` that start and stop the long operations. A button that started
/// one becomes its stop button; a click on it arrives nested inside the running operation and
/// only clears its flag.
class CommandButtons {
 public:
  CommandButtons(Form& form, BoardLink& link, ProgramLoader& loader, AdcSetup& adc_setup);

  /// "&Load Korvane" / "Stop &Load" (0) and "&Set ADC" (1).
  void cmdCntr_Click(int Index);

  /// The loader as the board reset starts it when the board program does not answer. The load
  /// button is hidden in the window, so for as long as the load runs it is shown as
  /// "Stop &Load" (and the window accepts input): a board that stops replying would otherwise
  /// keep the loader waiting for ever.
  void LoadProgramWithStopButton();

  static constexpr const char* kLoadCaption = "&Load Korvane";
  static constexpr const char* kStopLoadCaption = "Stop &Load";

 private:
  void ShowFullScaleRange();
  void LoadButton();
  void EnableCommandButtons();

  Form& form_;
  BoardLink& link_;
  ProgramLoader& loader_;
  AdcSetup& adc_setup_;
};

}  // namespace korvane
