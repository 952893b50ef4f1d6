#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "board/stream_kind.h"

namespace korvane {

/// What the board program does with its conversions before it sends them: "U3" passes each one,
/// "U4" sends the mean of every N, "U5" sends, for every conversion, the mean of the last N
/// (of fewer while the stream has not yet taken N). Means are rounded to the nearest code, and
/// codes are averaged as numbers (signed for bipolar input), never as their 24-bit patterns.
class ConversionAverager {
 public:
  /// `count` below 1 counts as 1.
  ConversionAverager(StreamKind kind, int count);

  /// Takes one conversion; returns the result to send when one is due.
  std::optional<std::int32_t> Add(std::int32_t code);

 private:
  std::int32_t Mean(std::size_t taken) const;

  StreamKind kind_;
  std::size_t count_;
  std::int64_t sum_ = 0;
  /// "U4": conversions in the current mean.
  std::size_t averaged_ = 0;
  /// "U5": the last N conversions.
  std::deque<std::int32_t> window_;
};

}  // namespace korvane
