#pragma once

#include <cstdint>
#include <optional>
#include <random>

namespace korvane {

/// Standard normal numbers from a seed, the same sequence on every platform: the Mersenne
/// Twister's output is fixed by the standard, and the transform from it is our own.
class GaussianNoise {
 public:
  explicit GaussianNoise(std::uint32_t seed) : engine_(seed) {}

  /// Mean 0, standard deviation 1.
  double Next();

 private:
  /// Uniform in (0, 1), never 0.
  double NextUniform();

  std::mt19937 engine_;
  std::optional<double> spare_;
};

}  // namespace korvane
