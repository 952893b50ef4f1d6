#include "board/flicker_noise.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvane {

double FlickerNoise::Next(double at_seconds, double white_rms_volts, double data_rate_hz) {
  // One-sided white density of the conversions: S = 2 sigma^2 / fs.
  const double white_density_squared =
      2.0 * white_rms_volts * white_rms_volts / std::max(data_rate_hz, 1e-9);
  const double process_rms = std::sqrt(white_density_squared * corner_hz_ * std::numbers::ln2);
  double sum = 0.0;
  for (int k = 0; k < kProcesses; ++k) {
    const double corner = std::ldexp(1.0, kLowestOctave + k);
    if (corner > data_rate_hz / 2.0) break;
    auto& updated_at = updated_at_[static_cast<std::size_t>(k)];
    auto& state = state_[static_cast<std::size_t>(k)];
    // Exact for any step: the correlation after dt is exp(-2 pi fc dt); a first draw is fresh.
    const double kept =
        updated_at
            ? std::exp(-2.0 * std::numbers::pi * corner * std::max(at_seconds - *updated_at, 0.0))
            : 0.0;
    state = kept * state + std::sqrt(1.0 - kept * kept) * noise_.Next();
    updated_at = at_seconds;
    sum += state;
  }
  return process_rms * sum;
}

}  // namespace korvane
