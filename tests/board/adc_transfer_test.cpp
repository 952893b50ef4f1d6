#include "board/adc_transfer.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "board/converter_setup.h"
#include "board/sfr_bank.h"

namespace korvane {
namespace {

ConverterSetup SetUpFor(int gain_exponent, bool unipolar, ReferenceSource reference) {
  ConverterSetup setup;
  setup.gain_exponent = gain_exponent;
  setup.unipolar = unipolar;
  setup.reference = reference;
  return setup;
}

constexpr ChipCalibration kCalibrated{true, true};

void WriteSfrs(SfrBank& sfrs, std::initializer_list<std::pair<int, int>> writes) {
  for (const auto& [address, value] : writes) sfrs.Write(address, static_cast<std::uint8_t>(value));
}

TEST(AdcTransfer, CodesForKnownInputsAtEveryPolarityGainAndReference) {
  using enum ReferenceSource;
  EXPECT_EQ(CodeForVolts(1.0, SetUpFor(0, false, kInternal2V5), 2.5), 3355443);
  EXPECT_EQ(CodeForVolts(-1.0, SetUpFor(0, false, kInternal2V5), 2.5), -3355443);
  EXPECT_EQ(CodeForVolts(0.1, SetUpFor(3, false, kInternal2V5), 2.5), 2684354);  // 2684354.4
  EXPECT_EQ(CodeForVolts(0.5, SetUpFor(0, true, kInternal1V25), 1.25), 6710886);
  EXPECT_EQ(CodeForVolts(-0.005, SetUpFor(7, false, kInternal1V25), 1.25), -4294967);  // -...67.04
  EXPECT_EQ(CodeForVolts(0.25, SetUpFor(1, true, kExternal), 2.0), 4194304);           // ...03.75

  AdcInputs inputs;
  inputs.external_reference_volts = 2.0;
  EXPECT_DOUBLE_EQ(ActiveReferenceVolts(SetUpFor(0, false, kExternal), inputs), 2.0);
  EXPECT_DOUBLE_EQ(ActiveReferenceVolts(SetUpFor(0, false, kInternal2V5), inputs), 2.5);
  EXPECT_DOUBLE_EQ(ActiveReferenceVolts(SetUpFor(0, false, kInternal1V25), inputs), 1.25);
}

TEST(AdcTransfer, FullScaleSaturatesAtTheOverloadCodes) {
  const ConverterSetup bipolar = SetUpFor(0, false, ReferenceSource::kInternal2V5);
  EXPECT_EQ(CodeForVolts(2.5, bipolar, 2.5), 0x7FFFFF);
  EXPECT_EQ(CodeForVolts(9.0, bipolar, 2.5), 0x7FFFFF);
  EXPECT_EQ(CodeForVolts(-2.6, bipolar, 2.5), -0x800000);
  EXPECT_EQ(CodeForVolts(0.02, SetUpFor(7, false, ReferenceSource::kInternal2V5), 2.5), 0x7FFFFF);

  const ConverterSetup unipolar = SetUpFor(0, true, ReferenceSource::kInternal2V5);
  EXPECT_EQ(CodeForVolts(2.6, unipolar, 2.5), 0xFFFFFF);
  EXPECT_EQ(CodeForVolts(-0.1, unipolar, 2.5), 0);
  EXPECT_EQ(CodeForVolts(1.0, unipolar, 0.0), 0xFFFFFF) << "no external reference connected";

  EXPECT_EQ(ResultLine(0x7FFFFF), "7FFFFF\r\n");
  EXPECT_EQ(ResultLine(-0x800000), "800000\r\n");
  EXPECT_EQ(ResultLine(-1), "FFFFFF\r\n");
  EXPECT_EQ(ResultLine(0x0A1B2C), "0A1B2C\r\n");
  EXPECT_EQ(ResultLine(0), "000000\r\n");
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
}

TEST(AdcTransfer, CalibrationRemovesTheMatchingErrors) {
  using enum CalibrationMode;
  const struct {
    CalibrationMode mode;
    bool offset, gain;
  } modes[] = {{kOff, false, false},         {kSelfOffset, true, false},
               {kSystemOffset, true, false}, {kSelfGain, false, true},
               {kSystemGain, false, true},   {kSelfOffsetAndGain, true, true}};
  for (const auto& m : modes) {
    const ChipCalibration after = AfterCalibration({}, m.mode);
    EXPECT_EQ(std::pair(after.offset_removed, after.gain_removed), std::pair(m.offset, m.gain))
        << static_cast<int>(m.mode);
  }
  const ChipCalibration both = AfterCalibration(AfterCalibration({}, kSelfGain), kSelfOffset);
  EXPECT_TRUE(both.offset_removed && both.gain_removed);
  EXPECT_TRUE(AfterCalibration(both, kOff).gain_removed) << "Off keeps earlier calibrations";

  ConverterSetup setup = SetUpFor(0, false, ReferenceSource::kInternal2V5);
  setup.positive_input = 0;
  AdcInputs zero;
  EXPECT_EQ(ConversionCode(setup, zero, {}, 0.0), 504);  // 150 uV x 1.002
  EXPECT_EQ(ConversionCode(setup, zero, {true, false}, 0.0), 0);
  AdcInputs two_volts;
  two_volts.volts[0] = 2.0;
  EXPECT_EQ(ConversionCode(setup, two_volts, {}, 0.0), 6724812);
  EXPECT_EQ(ConversionCode(setup, two_volts, {false, true}, 0.0), 6711389);
  EXPECT_EQ(ConversionCode(setup, two_volts, {true, false}, 0.0), 6724308);
  EXPECT_EQ(ConversionCode(setup, two_volts, kCalibrated, 0.0), 6710886);

  setup.auto_zero = true;
  EXPECT_EQ(ConversionCode(setup, zero, {false, true}, 0.0), 0) << "auto-zero removes the offset";
  setup.auto_zero = false;
  setup.burn_out_current = true;
  EXPECT_EQ(ConversionCode(setup, zero, kCalibrated, 0.0), 671);  // 200 uV
}

TEST(AdcTransfer, OffsetDacShiftsByTheSameShareOfTheRangeAtEveryGain) {
  ConverterSetup setup = SetUpFor(0, false, ReferenceSource::kInternal2V5);
  const AdcInputs zero;
  const auto code_for_dac = [&](int steps, int gain_exponent) {
    setup.offset_dac = steps;
    setup.gain_exponent = gain_exponent;
    return ConversionCode(setup, zero, kCalibrated, 0.0);
  };
  EXPECT_DOUBLE_EQ(OffsetDacStepVolts(setup, 2.5), 2.5 / 256);
  EXPECT_EQ(code_for_dac(0, 0), 0);
  EXPECT_EQ(code_for_dac(1, 0), 32768);  // 32767.998
  EXPECT_EQ(code_for_dac(127, 0), 4161536);
  EXPECT_EQ(code_for_dac(-128, 0), -4194304);
  EXPECT_EQ(code_for_dac(127, 2), 4161536);
  EXPECT_EQ(code_for_dac(-128, 7), -4194304);

  const std::pair<int, int> dac_steps[] = {{0x80, 0},  {0xFF, 127},  {0x81, 1},   {0x00, -1},
                                           {0x01, -2}, {0x7E, -127}, {0x7F, -128}};
  for (const auto& [value, steps] : dac_steps) {
    EXPECT_EQ(OffsetDacSteps(static_cast<std::uint8_t>(value)), steps) << value;
  }
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

TEST(AdcTransfer, NoiseGrowsWithTheDataRateAndIsAFewCodesAtTheStartUpSettings) {
  ConverterSetup setup = SetUpFor(0, false, ReferenceSource::kInternal2V5);
  setup.filter = AdcFilter::kSinc3;
  const double code_volts = 5.0 / 16777215;
  EXPECT_NEAR(NoiseRmsVolts(setup, 15.0) / code_volts, 2.863, 0.001);
  EXPECT_NEAR(NoiseRmsVolts(setup, 60.0) / NoiseRmsVolts(setup, 15.0), 2.0, 1e-12);
  setup.gain_exponent = 7;
  EXPECT_NEAR(NoiseRmsVolts(setup, 15.0) * 128 / code_volts, 20.165, 0.001);
  setup.buffer = true;
  setup.filter = AdcFilter::kFast;
  EXPECT_NEAR(NoiseRmsVolts(setup, 15.0) * 128 / code_volts, 20.165 * 1.2 * 1.6, 0.01);
}

}  // namespace
}  // namespace korvane
