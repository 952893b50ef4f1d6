#pragma once

#include <filesystem>

#include "acquisition/acquisition_run.h"
#include "adcconfig/adc_setup.h"
#include "form/form.h"
#include "link/board_link.h"
#include "link/board_reset.h"
#include "loader/program_loader.h"
#include "platform/chart.h"

namespace korvane {

/// The command buttons `cmdCntr` that start and stop the long operations. A button that started
/// one becomes its stop button; a click on it arrives nested inside the running operation and
/// only clears its flag.
class CommandButtons {
 public:
  /// The operations the buttons start.
  struct Operations {
    ProgramLoader& loader;
    AdcSetup& adc_setup;
    BoardReset& reset;
    AcquisitionRun& run;
    Chart& adc_graph;
  };

  CommandButtons(Form& form, BoardLink& link, Operations operations);

  /// "&Load Korvane" / "Stop &Load" (0), "&Set ADC" (1), "Run &ADC" / "Stop &ADC" (2).
  void cmdCntr_Click(int Index);

  /// Where "capture.txt" goes; empty (the default) is the current working directory.
  void SetCaptureFolder(std::filesystem::path folder) { capture_folder_ = std::move(folder); }

  /// The loader as the board reset starts it when the board program does not answer. The load
  /// button is hidden in the window, so for as long as the load runs it is shown as
  /// "Stop &Load" (and the window accepts input): a board that stops replying would otherwise
  /// keep the loader waiting for ever. True when the new program was loaded.
  bool LoadProgramWithStopButton();

  /// "Stop &Load" or "Stop &ADC": a click that ends the running operation, not a new one.
  bool IsStopClick(int Index) const;

  static constexpr const char* kLoadCaption = "&Load Korvane";
  static constexpr const char* kStopLoadCaption = "Stop &Load";
  static constexpr const char* kRunCaption = "Run &ADC";
  static constexpr const char* kStopRunCaption = "Stop &ADC";
  static constexpr const char* kCaptureFile = "capture.txt";

 private:
  void ShowFullScaleRange();
  /// RESET and the settings frame (with "Load DAC") start exchanges of their own: they are
  /// disabled while the buttons' operation talks to the board.
  void HoldExchangeControls(bool held);
  void LoadButton();
  void SetAdcButton();
  void RunButton();
  /// Reset when needed, register set-up (a second try when the first fails) and display set-up;
  /// false when the registers could not be set.
  bool PrepareRun();
  /// A new, empty "capture.txt" records the run's traffic.
  void StartCapture();
  void EnableCommandButtons();

  Form& form_;
  BoardLink& link_;
  Operations operations_;
  std::filesystem::path capture_folder_;
};

}  // namespace korvane
