#include "app/full_scale_range.h"

#include <cmath>

namespace korvane {

double FullScaleRangeVolts(bool reference_2v5, bool reference_1v25, bool bipolar, int gain_exp) {
  double reference = 0;
  if (reference_2v5) reference = 2.5;
  if (reference_1v25) reference = 1.25;
  const double span = bipolar ? 2 * reference : reference;
  return span / std::ldexp(1.0, gain_exp);
}

}  // namespace korvane
