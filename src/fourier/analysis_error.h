#pragma once

#include <cstddef>
#include <string_view>

namespace korvane {

/// Why an analysis gave no figures. Every result carries one; figures are only meaningful, and
/// always finite, when it is `kNone`.
enum class SpectrumError {
  kNone,
  kBadSettings,      ///< sample rate, full scale, segment, overlap or band out of range
  kTooShort,         ///< fewer readings than the transform or the segment needs
  kMissingReadings,  ///< a reading is NaN or infinite (a gap in the record)
  kNoTone,           ///< no component stands out of the noise
  kFitFailed,        ///< the sine fit did not settle on a frequency inside the band
};

/// The message shown for an error, in plain words.
std::string_view SpectrumErrorText(SpectrumError error);

/// Readings shorter than this give no spectrum: too few bins to tell a tone from its leakage.
inline constexpr std::size_t kMinimumReadings = 16;

/// Noise below this part of full scale (-240 dBFS) is the arithmetic's own rounding: figures
/// that divide by it use this floor and are flagged "below resolution".
inline constexpr double kResolution = 1e-12;

/// Power ratios are reported within +-300 dB, never infinite.
inline constexpr double kDbLimit = 300.0;

/// `10 log10(numerator / denominator)` held within +-`kDbLimit` (zero or empty powers too).
double PowerRatioDb(double numerator, double denominator);

}  // namespace korvane
