#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "fourier/analysis_error.h"
#include "fourier/window.h"

namespace korvane {

/// How a record (codes or volts: any unit, the figures come out in the same unit) is turned
/// into a spectrum. `full_scale_peak` is the peak of the full-scale sine, which reads 0 dBFS.
struct SpectrumSettings {
  double sample_rate_hz = 0.0;
  double full_scale_peak = 0.0;
  WindowKind window = WindowKind::kHann;
};

/// Welch's method: the record cut into windowed segments of `segment_length` readings that
/// overlap by `overlap` (a fraction, 0 to 0.95), their power spectra averaged.
struct WelchSettings {
  SpectrumSettings spectrum;
  std::size_t segment_length = 4096;
  double overlap = 0.5;
};

/// A one-sided power spectrum, bins 0..N/2 of N-point transforms. Each bin's `power` is in the
/// record's unit squared and is normalised by the window's power sum(w^2), so that summing
/// bins gives mean-square (noise reads right with any window); a tone's level comes from the
/// sum over its lobe, or, in `MagnitudeDbfs`, from its peak bin with the coherent gain undone.
struct Spectrum {
  SpectrumError error = SpectrumError::kNone;
  double sample_rate_hz = 0.0;
  double full_scale_peak = 0.0;
  std::size_t segment_length = 0;
  std::size_t segments = 0;
  WindowKind window = WindowKind::kRectangular;
  double coherent_gain = 1.0;
  double enbw_bins = 1.0;
  int lobe_bins = 1;
  std::vector<double> power;

  double BinWidthHz() const;
  double FrequencyHz(std::size_t bin) const { return static_cast<double>(bin) * BinWidthHz(); }
  /// Bins 0..`lobe_bins`-1 hold the record's offset and its leakage.
  std::size_t DcBins() const { return static_cast<std::size_t>(lobe_bins); }
  /// Power spectral density in unit^2/Hz, one-sided.
  double DensitySquared(std::size_t bin) const { return power[bin] / BinWidthHz(); }
  /// Noise spectral density in unit/sqrt(Hz) (V/sqrt(Hz) for volts; the caller scales to nV).
  double Density(std::size_t bin) const;
};

/// One windowed transform of the whole record.
Spectrum ComputeSpectrum(std::span<const double> record, const SpectrumSettings& settings);

/// The averaged spectrum of overlapping segments; the last readings that do not fill a
/// segment are left out.
Spectrum ComputeWelch(std::span<const double> record, const WelchSettings& settings);

/// Each bin's magnitude in dBFS: a tone centred on a bin reads its own level with any window.
/// Empty bins read -300 dBFS, never minus infinity.
std::vector<double> MagnitudeDbfs(const Spectrum& spectrum);

}  // namespace korvane
