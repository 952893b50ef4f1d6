#pragma once

#include <cstdint>
#include <string>

#include "board/adc_inputs.h"
#include "board/converter_setup.h"

namespace korvane {

/// The simulated converter's transfer function and its numbers. All voltages are referred to the
/// converter's input (before the PGA) unless a name says otherwise.
namespace chip_adc {

inline constexpr std::int32_t kBipolarMax = 8388607;    ///< 7FFFFF
inline constexpr std::int32_t kBipolarMin = -8388608;   ///< 800000
inline constexpr std::int32_t kUnipolarMax = 16777215;  ///< FFFFFF

/// Errors of a converter that has not been calibrated since its reset.
inline constexpr double kUncalibratedOffsetVolts = 150e-6;
inline constexpr double kUncalibratedGainError = 0.002;
/// The burn-out currents (100 nA each way) through the 1 kOhm source resistance of each input.
inline constexpr double kBurnOutOffsetVolts = 200e-6;
inline constexpr double kDiodeVoltsAt25Celsius = 0.115;
inline constexpr double kDiodeVoltsPerDegree = 375e-6;
/// Noise densities in V/sqrt(Hz) of data rate: the front end's, the same at every gain, and the
/// modulator's, which the PGA gain divides when referred to the input.
inline constexpr double kFrontEndNoiseDensity = 12e-9;
inline constexpr double kModulatorNoiseDensity = 220e-9;
inline constexpr double kBufferNoiseFactor = 1.2;
inline constexpr double kSinc2NoiseFactor = 1.25;
inline constexpr double kFastFilterNoiseFactor = 1.6;

}  // namespace chip_adc

/// Which of the chip's own errors calibration has removed.
struct ChipCalibration {
  bool offset_removed = false;
  bool gain_removed = false;
};

/// The calibration state after register DD was written with `mode`: the offset modes remove the
/// offset error, the gain modes the gain error, "self offset and gain" both; kOff keeps what the
/// earlier calibrations removed. System calibrations assume the user applied the right zero or
/// full-scale signal, so they remove the same errors as the self calibrations.
ChipCalibration AfterCalibration(ChipCalibration before, CalibrationMode mode);

double DiodeVolts(double temperature_celsius);
double ActiveReferenceVolts(const ConverterSetup& setup, const AdcInputs& inputs);
/// The differential voltage the multiplexer passes on. A positive input on the temperature diode
/// measures the diode against its own return, whatever the negative input selects; a negative
/// input on the diode alone, or on an unused code, reads 0 V.
double MuxInputVolts(const ConverterSetup& setup, const AdcInputs& inputs);
/// Offset DAC step: 128 steps span half the reference at gain 1 and shrink with the gain, so the
/// DAC covers the same share of the input range at every gain. Positive steps raise the reading.
double OffsetDacStepVolts(const ConverterSetup& setup, double reference_volts);

double ModulatorRateHz(double clock_mhz, const ConverterSetup& setup);
double ConversionRateHz(double clock_mhz, const ConverterSetup& setup);
/// RMS noise at the input: grows with the square root of the data rate; the modulator's share
/// shrinks with the gain, so in codes the noise grows with the gain and in volts it falls.
double NoiseRmsVolts(const ConverterSetup& setup, double data_rate_hz);

/// The code for `volts` at the input: the PGA gain applied, rounded, saturated at the overload
/// codes. Bipolar codes are signed (kBipolarMin..kBipolarMax), unipolar codes 0..kUnipolarMax.
std::int32_t CodeForVolts(double volts, const ConverterSetup& setup, double reference_volts);

/// One conversion of what the inputs carry, with the chip's uncalibrated errors, the burn-out
/// currents, the offset DAC and `noise_volts` added at the input. Auto-zero removes the offset
/// error as calibration does.
std::int32_t ConversionCode(const ConverterSetup& setup, const AdcInputs& inputs,
                            ChipCalibration calibration, double noise_volts);

/// The line the board sends for a code: six upper-case hexadecimal digits (bipolar codes in
/// 24-bit two's complement), a carriage return and a line feed.
std::string ResultLine(std::int32_t code);

}  // namespace korvane
