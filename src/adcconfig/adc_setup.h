#pragma once

#include <array>
#include <optional>
#include <string>

#include "adcconfig/adc_registers.h"
#include "form/form.h"
#include "link/board_link.h"

namespace korvane {

/// Writes the converter's seven configuration registers from the settings panel (`SetADC`).
/// Every input is checked and normalised before anything is sent; the derived modulator
/// frequency, data rate and data period are shown in their boxes.
class AdcSetup {
 public:
  AdcSetup(Form& form, BoardLink& link) : form_(form), link_(link) {}

  /// Reads and checks the panel, then sends the seven register writes, stopping at the first
  /// one the board does not answer. On success `AdcNotSet` is false, unless a setting changed
  /// (or the board was reset) while the writes were under way: the chip then holds older
  /// settings and the flag stays set.
  void SetADC();

  /// Time-out of each register write.
  static constexpr int kRegisterTimeoutMs = 300;

  static constexpr const char* kSetting = "SET ADC ENVIRONMENT ";
  static constexpr const char* kSetDone = "Korvane ADC IS SET";
  static constexpr const char* kSetFailed = "ERROR ADC SET";
  static constexpr const char* kRecheckInput = "PLEASE RECHECK INPUT DATA";
  static constexpr const char* kInputError = "ERROR";
  static constexpr const char* kCheckFrequency = "Check frequency.";
  static constexpr const char* kWrongDecimation = "Wrong Decimation Ratio.";

 private:
  /// The checked settings, with the frequency boxes rewritten and the derived values shown;
  /// nothing (after its message) when an input is refused.
  std::optional<AdcSettings> CheckedSettings();
  /// The panel's choices that need no checking: lists, options, boxes and the kept fields.
  void ReadChoices(AdcSettings& settings) const;
  void EndWithInputError();
  /// Sends the commands in order; false at the first one without an answer.
  bool SendAll(const std::array<std::string, 7>& commands);

  Form& form_;
  BoardLink& link_;
};

}  // namespace korvane
