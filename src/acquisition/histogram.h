#pragma once

#include <cstdint>
#include <span>

#include "form/form.h"
#include "platform/chart.h"

namespace korvane {

/// The block's distribution on the histogram chart: twenty bins 0.4 sigma wide around the bin of
/// the block mean, strict edges, empty end points, dark green bars.
class Histogram {
 public:
  Histogram(Form& form, Chart& histo);

  /// Draws nothing when `Sgm` is 0 or less.
  void Gistogram(const double& Sgm);
  /// Draws the bins of any block of signed codes around `mean`, as a block end draws its own.
  void Draw(std::span<const std::int32_t> samples, double mean, double sigma);

 private:
  Form& form_;
  Chart& histo_;
};

}  // namespace korvane
