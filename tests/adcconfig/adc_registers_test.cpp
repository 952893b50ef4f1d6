#include "adcconfig/adc_registers.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

namespace korvane {
namespace {

TEST(AdcRegisters, StartUpSettingsGiveTheSevenCommandsInBoardOrder) {
  EXPECT_EQ(RegisterCommands(ComputeRegisters(AdcSettings{})),
            (std::array<std::string, 7>{"RWFB01", "RWF600", "RWD788", "RWDE80", "RWDF07", "RWDC30",
                                        "RWDD31"}));
}

TEST(AdcRegisters, ClockRegisterIsWholeMegahertzMinusOneWithinFiveBits) {
  const std::pair<double, int> cases[] = {
      {1.0, 0},   {1.8432, 1}, {2.4, 1},      {2.5, 1} /* 2.999 still floors to 2 */,
      {2.501, 2}, {2.6, 2},    {11.0592, 10}, {32.0, 31},
      {0.2, 0},   {-1e300, 0}, {40.0, 31},    {1e300, 31}};
  for (const auto& [mhz, code] : cases) EXPECT_EQ(ClockRegister(mhz), code) << mhz;
}

/// Each setting lands in its own field; values outside their ranges never leave their fields.
TEST(AdcRegisters, EachSettingReachesItsFieldAndStaysInIt) {
  using R = Reference;
  const struct {
    AdcSettings settings;
    AdcRegisters registers;  // FB, F6, D7, DE, DF, DC, DD
  } cases[] = {
      {{}, {0x01, 0x00, 0x88, 0x80, 0x07, 0x30, 0x31}},
      {{.reference = R::kExternal, .gain_exp = 7}, {0x01, 0x00, 0x88, 0x80, 0x07, 0x07, 0x31}},
      {{.reference = R::kExternal, .buffer = true}, {0x01, 0x00, 0x88, 0x80, 0x07, 0x08, 0x31}},
      {{.reference = R::kInternal1V25}, {0x01, 0x00, 0x88, 0x80, 0x07, 0x20, 0x31}},
      {{.reference = R::kExternal, .burn_out = true}, {0x01, 0x00, 0x88, 0x80, 0x07, 0x40, 0x31}},
      {{.reference = R::kExternal, .auto_zero_bits = 128},
       {0x01, 0x00, 0x88, 0x80, 0x07, 0x80, 0x31}},
      {{.buffer = true, .burn_out = true, .gain_exp = 7, .auto_zero_bits = 128},
       {0x01, 0x00, 0x88, 0x80, 0x07, 0xFF, 0x31}},
      {{.reference = R::kInternal1V25, .buffer = true, .gain_exp = 5, .auto_zero_bits = 128},
       {0x01, 0x00, 0x88, 0x80, 0x07, 0xAD, 0x31}},
      {{.filter = 0, .calibration = 5}, {0x01, 0x00, 0x88, 0x80, 0x07, 0x30, 0x05}},
      {{.filter = 1, .calibration = 0}, {0x01, 0x00, 0x88, 0x80, 0x07, 0x30, 0x10}},
      {{.filter = 2, .calibration = 3}, {0x01, 0x00, 0x88, 0x80, 0x07, 0x30, 0x23}},
      {{.filter = 0, .calibration = 0, .unipolar = true},
       {0x01, 0x00, 0x88, 0x80, 0x07, 0x30, 0x40}},
      {{.filter = 3, .calibration = 5, .unipolar = true},
       {0x01, 0x00, 0x88, 0x80, 0x07, 0x30, 0x75}},
      {{.pos_channel = 9, .neg_channel = 9}, {0x01, 0x00, 0xFF, 0x80, 0x07, 0x30, 0x31}},
      {{.pos_channel = 3, .neg_channel = 7}, {0x01, 0x00, 0x37, 0x80, 0x07, 0x30, 0x31}},
      {{.pos_channel = 9, .neg_channel = 0}, {0x01, 0x00, 0xF0, 0x80, 0x07, 0x30, 0x31}},
      {{.clock_divider = 128, .decimation = 2047}, {0x01, 0x80, 0x88, 0xFF, 0x07, 0x30, 0x31}},
      {{.decimation = 256}, {0x01, 0x00, 0x88, 0x00, 0x01, 0x30, 0x31}},
      {{.decimation = 7}, {0x01, 0x00, 0x88, 0x07, 0x00, 0x30, 0x31}},
      {{.clock_mhz = 1e9,
        .clock_divider = 70000,
        .decimation = 1 << 30,
        .filter = 9,
        .calibration = -1,  // a list with nothing selected
        .gain_exp = 12,
        .auto_zero_bits = 256,
        .pos_channel = 15,
        .neg_channel = -4},
       {0x1F, 0x80, 0xF0, 0xFF, 0x07, 0xB7, 0x30}},
      {{.clock_divider = -5, .decimation = -5, .filter = -1, .calibration = 6, .gain_exp = -3},
       {0x01, 0x00, 0x88, 0x01, 0x00, 0x30, 0x05}},
  };
  for (const auto& c : cases) {
    const auto commands = RegisterCommands(ComputeRegisters(c.settings));
    EXPECT_EQ(commands, RegisterCommands(c.registers));
  }
}

TEST(AdcRegisters, VoltsPerCodeFollowsReferenceAndPolarity) {
  EXPECT_EQ(ReferenceVolts(Reference::kInternal2V5), 2.5);
  EXPECT_EQ(ReferenceVolts(Reference::kInternal1V25), 1.25);
  EXPECT_EQ(ReferenceVolts(Reference::kExternal), 2.5);
  EXPECT_DOUBLE_EQ(VoltsPerCodeFor(2.5, false), 5.0 / 16777215.0);
  EXPECT_DOUBLE_EQ(VoltsPerCodeFor(2.5, true), 2.5 / 16777215.0);
  EXPECT_DOUBLE_EQ(VoltsPerCodeFor(1.25, true), 1.25 / 16777215.0);
  EXPECT_DOUBLE_EQ(VoltsPerCodeFor(1.25, false), 2.5 / 16777215.0);
}

}  // namespace
}  // namespace korvane
