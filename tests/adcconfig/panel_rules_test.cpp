#include "adcconfig/panel_rules.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "common/number_text.h"

namespace korvane {
namespace {

TEST(PanelRules, GainStepsThroughPowersOfTwoAndWraps) {
  EXPECT_EQ(SteppedGainExp(0, 0), 7) << "below gain 1 comes 128";
  EXPECT_EQ(SteppedGainExp(7, 1), 0) << "above gain 128 comes 1";
  EXPECT_EQ(SteppedGainExp(3, 0), 2);
  EXPECT_EQ(SteppedGainExp(3, 1), 4);
  EXPECT_EQ(SteppedGainExp(3, 2), 3) << "no such button";
  EXPECT_EQ(SteppedGainExp(40, 1), 0) << "an exponent out of range is brought back first";
  EXPECT_EQ(GainText(0), "1");
  EXPECT_EQ(GainText(7), "128");
  EXPECT_EQ(GainText(99), "128");
}

TEST(PanelRules, ChannelsCycleOverTheTenInputs) {
  using Pair = ChannelPair;
  auto stepped = [](Pair pair, int index) {
    const Pair result = SteppedChannels(pair, index);
    return std::vector<std::int32_t>{result.positive, result.negative};
  };
  EXPECT_EQ(stepped({9, 8}, 1), (std::vector<std::int32_t>{0, 8}));
  EXPECT_EQ(stepped({0, 8}, 0), (std::vector<std::int32_t>{9, 8}));
  EXPECT_EQ(stepped({8, 9}, 3), (std::vector<std::int32_t>{8, 0}));
  EXPECT_EQ(stepped({8, 0}, 2), (std::vector<std::int32_t>{8, 9}));
  EXPECT_EQ(stepped({4, 5}, 1), (std::vector<std::int32_t>{5, 5}));
  EXPECT_EQ(stepped({4, 5}, -1), (std::vector<std::int32_t>{4, 5})) << "refresh only";
  EXPECT_EQ(stepped({4, 5}, 7), (std::vector<std::int32_t>{4, 5}));
  const auto most = std::numeric_limits<std::int32_t>::max();
  const auto least = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(stepped({most, least}, 1), (std::vector<std::int32_t>{0, 9}));
  EXPECT_EQ(stepped({least, most}, 2), (std::vector<std::int32_t>{9, 0}));
}

TEST(PanelRules, OffsetDacValueAndRegisterCode) {
  auto value = [](const char* text) { return OffsetDacValue(ValFromText(text)); };
  EXPECT_EQ(value("0"), 0);
  EXPECT_EQ(value("200"), 127);
  EXPECT_EQ(value("127.5"), 127);
  EXPECT_EQ(value("-128"), -128);
  EXPECT_EQ(value("-129"), -128);
  EXPECT_EQ(value("2.5"), 2);
  EXPECT_EQ(value("3.5"), 4);
  EXPECT_EQ(value("-0.4"), 0);
  EXPECT_EQ(value(""), 0);
  EXPECT_EQ(value("abc"), 0);
  EXPECT_EQ(value("&H1F"), 31);
  EXPECT_EQ(value("70000"), 127) << "too large for 16 bits";
  EXPECT_EQ(value("99999999999999999999"), 127);
  EXPECT_EQ(value("1e999"), 127);
  EXPECT_EQ(value("-1e999"), -128);

  EXPECT_EQ(OffsetDacCode(0), 0x80);
  EXPECT_EQ(OffsetDacCode(1), 0x81);
  EXPECT_EQ(OffsetDacCode(127), 0xFF);
  EXPECT_EQ(OffsetDacCode(-1), 0x00);
  EXPECT_EQ(OffsetDacCode(-2), 0x01);
  EXPECT_EQ(OffsetDacCode(-127), 0x7E);
  EXPECT_EQ(OffsetDacCode(-128), 0x7F);
  EXPECT_EQ(OffsetDacCode(1000), 0xFF);
  EXPECT_EQ(OffsetDacCode(-1000), 0x7F);
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
