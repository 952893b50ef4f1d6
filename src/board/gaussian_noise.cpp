#include "board/gaussian_noise.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace korvane {

double GaussianNoise::Next() {
  if (spare_) return *std::exchange(spare_, std::nullopt);
  // Box-Muller: two uniform numbers give two independent normal ones.
  const double radius = std::sqrt(-2.0 * std::log(NextUniform()));
  const double angle = 2.0 * std::numbers::pi * NextUniform();
  spare_ = radius * std::sin(angle);
  return radius * std::cos(angle);
}

double GaussianNoise::NextUniform() {
  constexpr double kTwoTo32 = 4294967296.0;
  return (static_cast<double>(engine_()) + 0.5) / kTwoTo32;
}

}  // namespace korvane
