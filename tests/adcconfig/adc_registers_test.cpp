#include "adcconfig/adc_registers.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace korvane {
namespace {

TEST(AdcRegisters, StartUpSettingsGiveTheSevenCommandsInBoardOrder) {
  const AdcSettings start_up;
  const AdcRegisters registers = ComputeRegisters(start_up);
  EXPECT_EQ(registers, (AdcRegisters{0x01, 0x00, 0x88, 0x80, 0x07, 0x30, 0x31}));
  EXPECT_EQ(RegisterCommands(registers),
            (std::array<std::string, 7>{"RWFB01", "RWF600", "RWD788", "RWDE80", "RWDF07", "RWDC30",
                                        "RWDD31"}));
}

TEST(AdcRegisters, ClockRegisterIsWholeMegahertzMinusOne) {
  EXPECT_EQ(ClockRegister(1.0), 0);
  EXPECT_EQ(ClockRegister(1.8432), 1);
  EXPECT_EQ(ClockRegister(2.4), 1);
  EXPECT_EQ(ClockRegister(2.5), 1);  // 2.999 still floors to 2
  EXPECT_EQ(ClockRegister(2.501), 2);
  EXPECT_EQ(ClockRegister(2.6), 2);
  EXPECT_EQ(ClockRegister(11.0592), 10);
  EXPECT_EQ(ClockRegister(32.0), 31);
  // Values the clamp should have kept out still land inside the five-bit field.
  EXPECT_EQ(ClockRegister(0.2), 0);
  EXPECT_EQ(ClockRegister(-1e300), 0);
  EXPECT_EQ(ClockRegister(40.0), 31);
  EXPECT_EQ(ClockRegister(1e300), 31);
}

TEST(AdcRegisters, ConfigurationRegisterDcSumsItsParts) {
  AdcSettings settings;
  settings.reference = Reference::kExternal;
  for (int gain = 0; gain <= 7; ++gain) {
    settings.gain_exp = gain;
    EXPECT_EQ(ComputeRegisters(settings).dc, gain);
  }
  settings.gain_exp = 0;
  settings.buffer = true;
  EXPECT_EQ(ComputeRegisters(settings).dc, 0x08);
  settings.buffer = false;
  settings.reference = Reference::kInternal2V5;
  EXPECT_EQ(ComputeRegisters(settings).dc, 0x30);
  settings.reference = Reference::kInternal1V25;
  EXPECT_EQ(ComputeRegisters(settings).dc, 0x20);
  settings.reference = Reference::kExternal;
  settings.burn_out = true;
  EXPECT_EQ(ComputeRegisters(settings).dc, 0x40);
  settings.burn_out = false;
  settings.auto_zero_bits = 128;
  EXPECT_EQ(ComputeRegisters(settings).dc, 0x80);

  const AdcSettings largest{.gain_exp = 7};
  AdcSettings all = largest;
  all.buffer = true;
  all.burn_out = true;
  all.auto_zero_bits = 128;
  EXPECT_EQ(RegisterCommands(ComputeRegisters(all))[5], "RWDCFF");
  all.reference = Reference::kInternal1V25;
  all.gain_exp = 5;
  EXPECT_EQ(ComputeRegisters(all).dc, 0xED);
}

TEST(AdcRegisters, ModeRegisterDdHoldsCalibrationFilterAndPolarity) {
  AdcSettings settings;
  settings.filter = 0;
  for (int calibration = 0; calibration <= 5; ++calibration) {
    settings.calibration = calibration;
    EXPECT_EQ(ComputeRegisters(settings).dd, calibration);
  }
  settings.calibration = 0;
  const std::array<int, 4> filter_bits{0x00, 0x10, 0x20, 0x30};
  for (int filter = 0; filter <= 3; ++filter) {
    settings.filter = filter;
    EXPECT_EQ(ComputeRegisters(settings).dd, filter_bits[static_cast<std::size_t>(filter)]);
  }
  settings.filter = 0;
  settings.unipolar = true;
  EXPECT_EQ(ComputeRegisters(settings).dd, 0x40);
  settings = {.filter = 3, .calibration = 5, .unipolar = true};
  EXPECT_EQ(ComputeRegisters(settings).dd, 117) << "the largest value the register gets";
}

TEST(AdcRegisters, InputRegisterD7CodesBothChannels) {
  EXPECT_EQ(ChannelCode(0), 0);
  EXPECT_EQ(ChannelCode(7), 7);
  EXPECT_EQ(ChannelCode(8), 8);
  EXPECT_EQ(ChannelCode(9), 15);
  AdcSettings settings;
  settings.pos_channel = 9;
  settings.neg_channel = 9;
  EXPECT_EQ(RegisterCommands(ComputeRegisters(settings))[2], "RWD7FF");
  settings.pos_channel = 3;
  settings.neg_channel = 8;
  EXPECT_EQ(ComputeRegisters(settings).d7, 0x38);
  settings.pos_channel = 9;
  settings.neg_channel = 0;
  EXPECT_EQ(ComputeRegisters(settings).d7, 0xF0);
}

TEST(AdcRegisters, DividerAndDecimationRegisters) {
  AdcSettings settings;
  settings.clock_divider = 128;
  settings.decimation = 2047;
  AdcRegisters registers = ComputeRegisters(settings);
  EXPECT_EQ(registers.f6, 0x80);
  EXPECT_EQ(registers.df, 0x07);
  EXPECT_EQ(registers.de, 0xFF);
  settings.decimation = 256;
  registers = ComputeRegisters(settings);
  EXPECT_EQ(registers.df, 0x01);
  EXPECT_EQ(registers.de, 0x00);
  settings.decimation = 7;
  registers = ComputeRegisters(settings);
  EXPECT_EQ(registers.df, 0x00);
  EXPECT_EQ(registers.de, 0x07);
}

TEST(AdcRegisters, ValuesOutsideTheirRangesNeverLeaveTheirFields) {
  AdcSettings wild;
  wild.clock_mhz = 1e9;
  wild.clock_divider = 70000;
  wild.decimation = 1 << 30;
  wild.filter = 9;
  wild.calibration = -1;  // a list with nothing selected
  wild.gain_exp = 12;
  wild.auto_zero_bits = 256;
  wild.pos_channel = 15;
  wild.neg_channel = -4;
  const AdcRegisters registers = ComputeRegisters(wild);
  EXPECT_EQ(registers.fb, 31);
  EXPECT_EQ(registers.f6, 128);
  EXPECT_EQ(registers.df, 0x07);
  EXPECT_EQ(registers.de, 0xFF);
  EXPECT_EQ(registers.dd, 0x30) << "filter 3, calibration 0";
  EXPECT_EQ(registers.dc, 0x30 + 7 + 0x80);
  EXPECT_EQ(registers.d7, 0xF0);

  wild.decimation = -5;
  wild.clock_divider = -5;
  wild.gain_exp = -3;
  wild.filter = -1;
  wild.calibration = 6;
  const AdcRegisters low = ComputeRegisters(wild);
  EXPECT_EQ(low.f6, 0);
  EXPECT_EQ(low.df, 0);
  EXPECT_EQ(low.de, 1);
  EXPECT_EQ(low.dc & 0x07, 0);
  EXPECT_EQ(low.dd, 5);
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
