#include "board/conversion_averager.h"

#include <algorithm>
#include <cmath>

namespace korvane {

ConversionAverager::ConversionAverager(StreamKind kind, int count)
    : kind_(kind), count_(static_cast<std::size_t>(std::max(count, 1))) {}

std::optional<std::int32_t> ConversionAverager::Add(std::int32_t code) {
  switch (kind_) {
    case StreamKind::kSingle:
      return code;
    case StreamKind::kAveraging: {
      sum_ += code;
      if (++averaged_ < count_) return std::nullopt;
      const std::int32_t mean = Mean(averaged_);
      averaged_ = 0;
      sum_ = 0;
      return mean;
    }
    case StreamKind::kFiltering:
      sum_ += code;
      window_.push_back(code);
      if (window_.size() > count_) {
        sum_ -= window_.front();
        window_.pop_front();
      }
      return Mean(window_.size());
  }
  return code;
}

std::int32_t ConversionAverager::Mean(std::size_t taken) const {
  return static_cast<std::int32_t>(
      std::llround(static_cast<double>(sum_) / static_cast<double>(taken)));
}

}  // namespace korvane
