#pragma once

#include <string>
#include <vector>

#include "acquisition/block_settings.h"
#include "fourier/fourier_power.h"

namespace korvane {

/// What the Spectrum window's controls ask for.
struct SpectrumRequest {
  WindowKind window = WindowKind::kHann;
  /// 0: one transform of the whole record; else Welch segments of this many readings.
  std::size_t segment_length = 0;
  double overlap = 0.5;
  /// Show noise density instead of dBFS; in µV/√Hz when `micro`, else nV/√Hz.
  bool density = false;
  bool micro = false;
  double band_low_hz = 0.0;
  double band_high_hz = 0.0;
};

/// A record and where it came from: the block's signed codes and settings.
struct SpectrumInput {
  std::vector<std::int32_t> codes;
  BlockSettings settings;
  std::string source;
};

/// The spectrum as the window draws it (bins 1..N/2: the log axis has no 0 Hz) and the figures
/// as "key: value" lines, in the order shown and exported.
struct SpectrumResult {
  std::string message;  ///< empty when there is a spectrum to draw
  std::vector<double> frequency_hz;
  std::vector<double> value;
  std::string value_caption;  ///< "Magnitude, dBFS" or "Density, nV/√Hz"
  std::vector<FigureLine> figures;
};

/// Runs every analysis of the record; plain arithmetic on any thread. The record is taken in
/// volts (codes when the block has no volts per code), full scale being the peak of the sine
/// that spans all 2^24 codes.
SpectrumResult AnalyseRecord(const SpectrumInput& input, const SpectrumRequest& request);

/// The result as CSV: "# key: value" lines of the source, settings and figures, then one row a bin.
std::string SpectrumCsv(const SpectrumInput& input, const SpectrumRequest& request,
                        const SpectrumResult& result);

}  // namespace korvane
