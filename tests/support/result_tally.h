#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/traffic_listener.h"

namespace korvane::testing {

__extension__ typedef __int128 WideInt;

/// Exact sums of one block's codes.
struct BlockSums {
  std::int64_t count = 0;
  std::int64_t sum = 0;
  WideInt sum_of_squares = 0;

  long double Mean() const;
  /// Sample standard deviation (n - 1 in the denominator).
  long double Sdev() const;
};

/// The board's conversion results as the PC receives them, read off the line apart from the
/// program: after the "U3" that starts the stream, each result is six hexadecimal digits and
/// CR LF, a 24-bit two's complement code; the CR sent to the board ends the stream. The codes are
/// summed in a run's block layout: the first `dropped` of the stream are left out, then come
/// blocks of `block_length`. Holds one finished block at a time, so its memory stays flat.
class ResultTally final : public TrafficListener {
 public:
  ResultTally(std::int64_t dropped, std::int64_t block_length)
      : dropped_(dropped), block_length_(block_length) {}

  void OnTraffic(TrafficDirection direction, std::string_view bytes) override;

  /// Results received since the stream started, the dropped ones included.
  std::int64_t Readings() const { return readings_; }
  /// Lines of the stream that were no result.
  std::int64_t BadLines() const { return bad_lines_; }
  /// Blocks finished while the one before had not been taken.
  std::int64_t Overruns() const { return overruns_; }
  /// The finished block not taken yet.
  std::optional<BlockSums> TakeBlock();

 private:
  void Sent(char byte);
  void Received(char byte);
  void EndLine();
  void StartLine();
  void Add(std::int64_t code);

  std::int64_t dropped_;
  std::int64_t block_length_;
  bool streaming_ = false;
  char previous_sent_ = 0;
  std::int64_t line_code_ = 0;
  int line_digits_ = 0;
  bool line_bad_ = false;
  std::int64_t readings_ = 0;
  std::int64_t bad_lines_ = 0;
  std::int64_t overruns_ = 0;
  BlockSums open_;
  std::optional<BlockSums> finished_;
};

}  // namespace korvane::testing
