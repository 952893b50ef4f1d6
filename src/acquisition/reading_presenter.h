#pragma once

#include <cstdint>

#include "form/form.h"
#include "platform/chart.h"

namespace korvane {

/// Turns each conversion result into what the user asked for: volts or degrees C, signed
/// decimal or hexadecimal on the reading display, with overloads flagged; stores the signed code
/// in the block buffer `Samples`, adds it to the block mean `MeanCode` and plots it on the time
/// graph (without redrawing). Reads the display-mode, polarity, input and sampling controls at
/// every call.
class ReadingPresenter {
 public:
  /// The index that marks a block average instead of a single reading.
  static constexpr std::int32_t AVERAGE_INDEX = -1000;

  ReadingPresenter(Form& form, Chart& adc_graph);

  /// `code` is the raw code as received (0..16777215) with `index` 1..`AverNumb`, or the floor
  /// of the block mean (already signed) with AVERAGE_INDEX. Nothing is ever written outside
  /// `Samples`, whatever the index.
  void ShowReading(std::int32_t code, std::int32_t index);

 private:
  void ShowVolts(std::int32_t& code, std::int32_t& index);
  void ShowDecimal(std::int32_t& code, std::int32_t& index);
  void ShowHex(std::int32_t& code, std::int32_t& index);
  void CheckOverload(const std::int32_t& code);

  Form& form_;
  Chart& adc_graph_;
};

}  // namespace korvane
