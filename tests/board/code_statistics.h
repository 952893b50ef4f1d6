#pragma once

#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

namespace korvane {

inline double Mean(const std::vector<std::int32_t>& codes) {
  return std::accumulate(codes.begin(), codes.end(), 0.0) / static_cast<double>(codes.size());
}

/// Sample standard deviation.
inline double Spread(const std::vector<std::int32_t>& codes) {
  const double mean = Mean(codes);
  double sum = 0;
  for (const auto code : codes) sum += (code - mean) * (code - mean);
  return std::sqrt(sum / static_cast<double>(codes.size() - 1));
}

}  // namespace korvane
