#include "adcconfig/panel_rules.h"

#include <algorithm>

#include "common/number_text.h"

namespace korvane {

namespace {

constexpr std::int32_t kMaxGainExp = 7;
constexpr std::int32_t kLastChannel = 9;

/// Above the last channel goes round to the first, below the first to the last.
std::int32_t WrappedChannel(std::int64_t channel) {
  if (channel > kLastChannel) return 0;
  if (channel < 0) return kLastChannel;
  return static_cast<std::int32_t>(channel);
}

}  // namespace

std::int32_t SteppedGainExp(std::int32_t gain_exp, int index) {
  std::int32_t next = std::clamp(gain_exp, 0, kMaxGainExp);
  if (index == 0) --next;
  if (index == 1) ++next;
  if (next < 0) return kMaxGainExp;
  if (next > kMaxGainExp) return 0;
  return next;
}

std::string GainText(std::int32_t gain_exp) {
  return std::to_string(1 << std::clamp(gain_exp, 0, kMaxGainExp));
}

ChannelPair SteppedChannels(ChannelPair channels, int index) {
  std::int64_t positive = channels.positive;  // wide enough that stepping never overflows
  std::int64_t negative = channels.negative;
  switch (index) {
    case 0:
      --positive;
      break;
    case 1:
      ++positive;
      break;
    case 2:
      --negative;
      break;
    case 3:
      ++negative;
      break;
    default:
      break;
  }
  return {WrappedChannel(positive), WrappedChannel(negative)};
}

int OffsetDacValue(double typed) {
  return static_cast<int>(RoundClamped(typed, -128, 127));
}

std::uint8_t OffsetDacCode(int value) {
  const int clamped = std::clamp(value, -128, 127);
  return static_cast<std::uint8_t>(clamped >= 0 ? 128 + clamped : -1 - clamped);
}

std::string PolarityRangeText(bool unipolar) {
  return unipolar ? "Range: 000000....FFFFFFh" : "Range: 800000....7FFFFFh";
}

std::string PartModeLabel(int avg_fil_index, bool unipolar) {
  if (avg_fil_index == 2) return "Filter N=1...255";
  return unipolar ? "Average N=1...128" : "Average N=1...255";
}

}  // namespace korvane
