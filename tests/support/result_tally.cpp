#include "support/result_tally.h"

#include <cmath>
#include <utility>

namespace korvane::testing {

namespace {

constexpr int kDigitsPerResult = 6;
constexpr std::int64_t kNegativeCodes = 0x800000;
constexpr std::int64_t kCodeSpan = 0x1000000;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

long double BlockSums::Mean() const {
  return static_cast<long double>(sum) / static_cast<long double>(count);
}

long double BlockSums::Sdev() const {
  // n times the sum of squared deviations, exact.
  const WideInt spread = WideInt{count} * sum_of_squares - WideInt{sum} * sum;
  return std::sqrt(static_cast<long double>(spread) /
                   (static_cast<long double>(count) * static_cast<long double>(count - 1)));
}

void ResultTally::OnTraffic(TrafficDirection direction, std::string_view bytes) {
  for (const char byte : bytes) {
    if (direction == TrafficDirection::kToBoard) {
      Sent(byte);
    } else if (streaming_) {
      Received(byte);
    }
  }
}

std::optional<BlockSums> ResultTally::TakeBlock() {
  return std::exchange(finished_, std::nullopt);
}

void ResultTally::Sent(char byte) {
  if (previous_sent_ == 'U' && byte == '3') {
    streaming_ = true;
    readings_ = 0;
    open_ = {};
    finished_.reset();
    StartLine();
  } else if (byte == '\r') {
    streaming_ = false;
  }
  previous_sent_ = byte;
}

void ResultTally::Received(char byte) {
  if (byte == '\n') return;
  if (byte == '\r') return EndLine();
  const int digit = HexDigit(byte);
  if (digit < 0 || line_digits_ == kDigitsPerResult) {
    line_bad_ = true;
    return;
  }
  line_code_ = line_code_ * 16 + digit;
  ++line_digits_;
}

void ResultTally::EndLine() {
  if (line_bad_ || line_digits_ != kDigitsPerResult) {
    ++bad_lines_;
  } else {
    Add(line_code_ >= kNegativeCodes ? line_code_ - kCodeSpan : line_code_);
  }
  StartLine();
}

void ResultTally::StartLine() {
  line_code_ = 0;
  line_digits_ = 0;
  line_bad_ = false;
}

void ResultTally::Add(std::int64_t code) {
  if (readings_++ < dropped_) return;
  ++open_.count;
  open_.sum += code;
  open_.sum_of_squares += WideInt{code} * code;
  if (open_.count < block_length_) return;
  if (finished_) ++overruns_;
  finished_ = std::exchange(open_, {});
}

}  // namespace korvane::testing
