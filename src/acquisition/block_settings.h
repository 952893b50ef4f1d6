#pragma once

#include <string>
#include <utility>
#include <vector>

#include "form/form.h"

namespace korvane {

/// A text line "key: value" of a block's description, in the order it is shown and written.
using FigureLine = std::pair<std::string, std::string>;

/// What a block of readings was taken with: the converter's settings as the window showed them,
/// and the numbers that turn its codes into volts (or degrees C) and its readings into time.
struct BlockSettings {
  std::string clock_mhz;
  std::string data_rate_hz;
  std::string filter;
  int gain = 1;
  std::string reference;
  bool bipolar = true;
  bool buffer = false;
  std::string positive_input;
  std::string negative_input;
  /// "None", or "Averaging N=32" / "Filtering N=32".
  std::string chip_averaging;
  /// The temperature input: values are degrees C instead of volts.
  bool temperature = false;
  /// Volts of one code at the block's gain.
  double volts_per_lsb = 0;
  /// The full-scale range the status bar shows (0 with the external reference).
  double full_scale_volts = 0;
  /// Seconds from one reading to the next (the data period, times N when the chip averages).
  double seconds_per_reading = 0;
  /// Readings per block (`AverNumb`).
  int block_length = 0;
};

/// The settings of the block the window is taking now.
BlockSettings BlockSettingsFromForm(const Form& form);

/// The settings as lines, keys as they appear in a recording's header.
std::vector<FigureLine> SettingLines(const BlockSettings& settings);

/// Reads the settings back from header lines (unknown keys are ignored, missing ones keep their
/// defaults); false when a number in them cannot be read.
bool SettingsFromLines(const std::vector<FigureLine>& lines, BlockSettings& settings);

/// The signed code of a received code: two's complement when bipolar.
int SignedFromRaw(int raw, bool bipolar);

/// Volts of a signed code, or degrees C for the temperature input, rounded as the reading display
/// rounds them (8 and 3 decimals).
double DisplayValue(int code, const BlockSettings& settings);

}  // namespace korvane
