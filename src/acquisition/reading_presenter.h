#pragma once

#include <cstdint>
#include <string>

#include "acquisition/reading_math.h"
#include "form/form.h"
#include "platform/chart.h"

namespace korvane {

/// Turns each conversion result into what the user asked for: volts or degrees C, signed
/// decimal or hexadecimal on the reading display, with overloads flagged; stores the signed code
/// in the block buffer `Samples`, adds it to the block mean `MeanCode` and plots it on the time
/// graph (without redrawing). A block average shown in volts says "+OVERLOAD" or "-OVERLOAD" when
/// any reading of its block was at full scale. Reads the display-mode, polarity, input and sampling
/// controls at every call.
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
  /// A block average that is not itself at full scale still says so when a reading of its block
  /// clipped: the mean of clipped readings is no measurement.
  void CheckBlockClipped(std::int32_t average);

  /// Bipolar codes become signed; a block average is signed already.
  void ConvertSigned(std::int32_t& code, std::int32_t index) const;
  bool TemperatureInput() const;
  /// In the sampling mode "Sample" only block averages reach the display.
  bool DisplayWanted(std::int32_t index) const;
  void Display(const std::string& text);
  /// Stores and accumulates a reading of the block (an index of 0 or less stores a code of 0 at
  /// 0); false for a block average and for an index beyond `Samples`, which are not kept.
  bool StoreInBlock(std::int32_t& code, std::int32_t& index);
  /// Points beyond the time graph's point count are left alone.
  void Plot(std::int32_t index, double value);

  Form& form_;
  Chart& adc_graph_;
  /// The first full-scale reading of the current block, if any.
  Overload block_clipped_ = Overload::kNone;
};

}  // namespace korvane
