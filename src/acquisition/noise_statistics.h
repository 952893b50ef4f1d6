#pragma once

#include <cstdint>

#include "form/form.h"
#include "platform/chart.h"

namespace korvane {

/// The block's noise: sample standard deviation in LSB (one decimal, at least 0.1), effective
/// number of bits, outlier marks in `Samples`, and the time graph's fixed Y range (volts, or
/// degrees C for the temperature input, with its axis title).
class NoiseStatistics {
 public:
  /// Marks a reading more than four standard deviations from the block mean.
  static constexpr std::int32_t kOutlierMark = -1000000;

  NoiseStatistics(Form& form, Chart& adc_graph);

  /// `sigma` is only written: the block's standard deviation in LSB as shown.
  void CalcNoise(double& sigma);

  /// The time graph's fixed Y range around a block: mean +- 4 sigma in volts in the display mode
  /// "V", one degree around the mean temperature for the temperature input; nothing otherwise.
  static void SetGraphBand(Chart& adc_graph, bool volts_mode, bool temperature, double mean,
                           double sigma, double volts_per_lsb);

 private:
  Form& form_;
  Chart& adc_graph_;
};

}  // namespace korvane
