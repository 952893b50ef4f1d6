#include "board/clock_count.h"

#include <algorithm>
#include <cmath>

namespace korvane {

int ClockCountForClock(double clock_mhz) {
  constexpr double kCountOffset = 998.0;
  constexpr double kMhzPerCount = 0.03789126 * 1.013;
  const double count = std::round(kCountOffset - (clock_mhz - 1.0) / kMhzPerCount);
  if (!(count > 0.0)) return 0;  // also NaN
  return static_cast<int>(std::min(count, 1023.0));
}

}  // namespace korvane
