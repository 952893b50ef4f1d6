#include "acquisition/block_samples.h"

#include <algorithm>

namespace korvane {

std::span<std::int32_t> BlockSamples(Form& form) {
  const auto last = static_cast<std::int64_t>(form.Samples.size()) - 1;
  const auto count = static_cast<std::size_t>(std::clamp<std::int64_t>(form.AverNumb, 0, last));
  return std::span<std::int32_t>(form.Samples).subspan(1, count);
}

}  // namespace korvane
