#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "acquisition/block_settings.h"

namespace korvane {

/// A block's noise as converter datasheets state it. Unrounded; `NoiseFigureLines` rounds.
struct NoiseFigures {
  std::int64_t count = 0;
  double mean_code = 0;
  /// Sample standard deviation (n - 1 in the denominator), in LSB and in uV rms.
  double sigma_lsb = 0;
  double sigma_uv = 0;
  /// Measured max - min, in LSB and in uV.
  std::int32_t peak_to_peak_lsb = 0;
  double peak_to_peak_uv = 0;
  /// log2(FSR / sigma) and log2(FSR / peak-to-peak) in bits; NaN when the FSR is unknown (external
  /// reference) or the block has no spread.
  double effective_bits = 0;
  double noise_free_bits = 0;
  std::int32_t min_code = 0;
  std::int32_t max_code = 0;
};

/// The figures of a block of signed codes taken with `settings`. The mean and the sum of squares
/// are taken about the first code, so that codes near full scale lose no digits.
NoiseFigures ComputeNoiseFigures(std::span<const std::int32_t> codes,
                                 const BlockSettings& settings);

/// The figures as shown and written, rounded half to even: mean code 2 decimals, sigma 3
/// decimals in LSB and uV, peak-to-peak whole LSB and 3 decimals in uV, resolutions 2 decimals;
/// volts 8 decimals, degrees C 3. A resolution that cannot be computed reads "-".
std::vector<FigureLine> NoiseFigureLines(const NoiseFigures& figures,
                                         const BlockSettings& settings);

}  // namespace korvane
