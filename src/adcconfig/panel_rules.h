#pragma once

#include <cstdint>
#include <string>

#include "form/control.h"

namespace korvane {

/// The settings panel's rules that need no window: stepping, offset-DAC codes, label texts and
/// the two background colours of the settings options.

/// Light yellow (red 255, green 255, blue 192) as 0xBBGGRR: the chosen option or a ticked box.
inline constexpr std::uint32_t kHighlightColour = 0xC0FFFF;
/// The system's button-face colour: options that are not highlighted.
inline constexpr std::uint32_t kStandardColour = Control::kSystemButtonFace;

/// The gain exponent one step down (`index` 0) or up (`index` 1), wrapping within 0..7; any
/// other index leaves it (brought into 0..7).
std::int32_t SteppedGainExp(std::int32_t gain_exp, int index);
/// The gain 2^`gain_exp` as shown in the gain box: "1", "2" ... "128".
std::string GainText(std::int32_t gain_exp);

/// The two input channels after a press of stepping button `index`: 0/1 step the positive input
/// down/up, 2/3 the negative input; any other index steps nothing. Both stay within 0..9,
/// cycling round.
struct ChannelPair {
  std::int32_t positive = 8;
  std::int32_t negative = 8;
};
ChannelPair SteppedChannels(ChannelPair channels, int index);

/// The offset-DAC value from the number in its box: rounded half to even, limited to -128..127.
int OffsetDacValue(double typed);
/// Register E6 for an offset-DAC value: bit 7 is the sign (set for >= 0), bits 6..0 the size,
/// with negative values stored as |v| - 1 (0 -> 80, 127 -> FF, -1 -> 00, -128 -> 7F).
std::uint8_t OffsetDacCode(int value);

/// The code range label of the polarity.
std::string PolarityRangeText(bool unipolar);
/// The label of the in-chip count box: filtering (list position 2) has its own range, averaging
/// a range that depends on the polarity.
std::string PartModeLabel(int avg_fil_index, bool unipolar);

}  // namespace korvane
