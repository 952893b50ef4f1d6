#include "board/adc_transfer.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "board/converter_setup.h"
#include "board/sfr_bank.h"

namespace korvane {
namespace {

constexpr ChipCalibration kCalibrated{true, true};

void WriteSfrs(SfrBank& sfrs, std::initializer_list<std::pair<int, int>> writes) {
  for (const auto& [address, value] : writes) sfrs.Write(address, static_cast<std::uint8_t>(value));
}

TEST(AdcTransfer, InputsReachTheConverterThroughTheMultiplexer) {
  AdcInputs inputs;
  inputs.volts = {1.2, 0.2, 0, 0.7, 0, 0, 0, 0.3, 0.05};
  ConverterSetup setup;
  setup.positive_input = 0;
  setup.negative_input = 1;
  EXPECT_DOUBLE_EQ(MuxInputVolts(setup, inputs), 1.0);
  setup.positive_input = 7;
  setup.negative_input = AdcInputs::kAincom;
  EXPECT_DOUBLE_EQ(MuxInputVolts(setup, inputs), 0.25);
  setup.negative_input = 0xB;  // selects nothing
  EXPECT_DOUBLE_EQ(MuxInputVolts(setup, inputs), 0.3);
  setup.positive_input = 3;
  setup.negative_input = ConverterSetup::kDiodeInput;
  EXPECT_DOUBLE_EQ(MuxInputVolts(setup, inputs), 0.7);

  setup.positive_input = ConverterSetup::kDiodeInput;
  EXPECT_DOUBLE_EQ(MuxInputVolts(setup, inputs), 0.115);
  inputs.temperature_celsius = 75.0;
  EXPECT_DOUBLE_EQ(MuxInputVolts(setup, inputs), 0.13375);
  inputs.temperature_celsius = -15.0;
  EXPECT_DOUBLE_EQ(MuxInputVolts(setup, inputs), 0.1);

  setup.reference = ReferenceSource::kInternal2V5;
  inputs.temperature_celsius = 25.0;
  EXPECT_EQ(ConversionCode(setup, inputs, kCalibrated, 0.0), 385876);  // 385875.945
  inputs.temperature_celsius = 50.0;
  EXPECT_EQ(ConversionCode(setup, inputs, kCalibrated, 0.0), 417333);

  setup.positive_input = 0;
  setup.burn_out_current = true;
  EXPECT_EQ(ConversionCode(setup, AdcInputs{}, kCalibrated, 0.0), 671);  // 200 uV
}

TEST(AdcTransfer, RegistersGiveTheConverterSetUp) {
  SfrBank sfrs(0);
  // The host's start-up set-up: AINCOM on both inputs, gain 1, 2.5 V, self offset and gain
  // calibration, Sinc3, bipolar, decimation 1920; the program set the offset DAC to zero.
  WriteSfrs(sfrs, {{0xD7, 0x88},
                   {0xDC, 0x30},
                   {0xDD, 0x31},
                   {0xDE, 0x80},
                   {0xDF, 0x07},
                   {0xF6, 0x04},
                   {0xE6, 0x80}});
  ConverterSetup setup = ConverterSetup::FromRegisters(sfrs);
  EXPECT_EQ(setup.positive_input, 8);
  EXPECT_EQ(setup.negative_input, 8);
  EXPECT_EQ(setup.Gain(), 1);
  EXPECT_FALSE(setup.buffer || setup.burn_out_current || setup.auto_zero || setup.unipolar);
  EXPECT_EQ(setup.reference, ReferenceSource::kInternal2V5);
  EXPECT_EQ(setup.filter, AdcFilter::kSinc3);
  EXPECT_EQ(setup.offset_dac, 0);
  EXPECT_EQ(setup.clock_divider, 4);
  EXPECT_EQ(setup.decimation, 1920);
  EXPECT_DOUBLE_EQ(ModulatorRateHz(11.0592, setup), 34560.0);
  EXPECT_DOUBLE_EQ(ConversionRateHz(11.0592, setup), 18.0);
  setup.clock_divider = 0;
  EXPECT_DOUBLE_EQ(ConversionRateHz(1.8432, setup), 15.0);

  WriteSfrs(sfrs,
            {{0xD7, 0xF0}, {0xDC, 0xFF}, {0xDD, 0x55}, {0xDE, 0xFF}, {0xDF, 0xFF}, {0xE6, 0x7F}});
  setup = ConverterSetup::FromRegisters(sfrs);
  EXPECT_EQ(setup.positive_input, ConverterSetup::kDiodeInput);
  EXPECT_EQ(setup.negative_input, 0);
  EXPECT_EQ(setup.Gain(), 128);
  EXPECT_TRUE(setup.buffer && setup.burn_out_current && setup.auto_zero && setup.unipolar);
  EXPECT_EQ(setup.filter, AdcFilter::kFast);
  EXPECT_EQ(setup.offset_dac, -128);
  EXPECT_EQ(setup.decimation, 2047);

  sfrs.Write(0xDE, 0x00);
  sfrs.Write(0xDF, 0x00);
  EXPECT_EQ(ConverterSetup::FromRegisters(sfrs).decimation, 1) << "no division by zero";
  EXPECT_EQ(ReferenceFromControl(0x20), ReferenceSource::kInternal1V25);
  EXPECT_EQ(ReferenceFromControl(0x10), ReferenceSource::kExternal);
  EXPECT_EQ(ReferenceFromControl(0x00), ReferenceSource::kExternal);
}

}  // namespace
}  // namespace korvane
