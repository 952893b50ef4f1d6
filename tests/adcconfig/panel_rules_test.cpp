#include "adcconfig/panel_rules.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>

#include "common/number_text.h"

namespace korvane {
namespace {

TEST(PanelRules, GainStepsThroughPowersOfTwoAndWraps) {
  const struct {
    int exp, button, stepped;
  } cases[] = {
      {0, 0, 7} /* below gain 1 comes 128 */, {7, 1, 0}, {3, 0, 2}, {3, 1, 4},
      {3, 2, 3} /* no such button */,         {40, 1, 0} /* brought back into range first */};
  for (const auto& c : cases) EXPECT_EQ(SteppedGainExp(c.exp, c.button), c.stepped) << c.exp;
  EXPECT_EQ(GainText(0), "1");
  EXPECT_EQ(GainText(7), "128");
  EXPECT_EQ(GainText(99), "128");
}

TEST(PanelRules, ChannelsCycleOverTheTenInputs) {
  const auto most = std::numeric_limits<std::int32_t>::max();
  const auto least = std::numeric_limits<std::int32_t>::min();
  const struct {
    ChannelPair pair;
    int button;
    ChannelPair stepped;
  } cases[] = {{{9, 8}, 1, {0, 8}}, {{0, 8}, 0, {9, 8}},        {{8, 9}, 3, {8, 0}},
               {{8, 0}, 2, {8, 9}}, {{4, 5}, 1, {5, 5}},        {{4, 5}, -1, {4, 5}},
               {{4, 5}, 7, {4, 5}}, {{most, least}, 1, {0, 9}}, {{least, most}, 2, {9, 0}}};
  for (const auto& c : cases) {
    const ChannelPair stepped = SteppedChannels(c.pair, c.button);
    EXPECT_EQ(std::make_pair(stepped.positive, stepped.negative),
              std::make_pair(c.stepped.positive, c.stepped.negative))
        << c.pair.positive << " " << c.pair.negative << " button " << c.button;
  }
}

TEST(PanelRules, OffsetDacValueAndRegisterCode) {
  const std::pair<const char*, int> values[] = {
      {"0", 0},       {"200", 127},     {"127.5", 127},
      {"-128", -128}, {"-129", -128},   {"2.5", 2},
      {"3.5", 4},     {"-0.4", 0},      {"", 0},
      {"abc", 0},     {"&H1F", 31},     {"70000", 127} /* beyond 16 bits */,
      {"1e999", 127}, {"-1e999", -128}, {"99999999999999999999", 127}};
  for (const auto& [typed, value] : values) {
    EXPECT_EQ(OffsetDacValue(ValFromText(typed)), value) << typed;
  }
  const std::pair<int, int> codes[] = {{0, 0x80},    {1, 0x81},    {127, 0xFF},
                                       {-1, 0x00},   {-2, 0x01},   {-127, 0x7E},
                                       {-128, 0x7F}, {1000, 0xFF}, {-1000, 0x7F}};
  for (const auto& [value, code] : codes) EXPECT_EQ(OffsetDacCode(value), code) << value;
}

TEST(PanelRules, LabelTexts) {
  EXPECT_EQ(PolarityRangeText(false), "Range: 800000....7FFFFFh");
  EXPECT_EQ(PolarityRangeText(true), "Range: 000000....FFFFFFh");
  EXPECT_EQ(PartModeLabel(1, false), "Average N=1...255");
  EXPECT_EQ(PartModeLabel(1, true), "Average N=1...128");
  EXPECT_EQ(PartModeLabel(2, false), "Filter N=1...255");
  EXPECT_EQ(PartModeLabel(2, true), "Filter N=1...255");
  EXPECT_EQ(kHighlightColour, 0xC0FFFFu) << "red 255, green 255, blue 192";
}

}  // namespace
}  // namespace korvane
