#pragma once

#include <vector>

#include "fourier/fourier_power.h"

namespace korvane {

struct ToneSettings {
  /// The tone's frequency if known; 0: the largest peak away from DC.
  double fundamental_hz = 0.0;
  /// Harmonics 2..this count in THD.
  int highest_harmonic = 5;
};

struct Harmonic {
  int order = 0;
  /// Where it falls after aliasing into 0..fs/2.
  double frequency_hz = 0.0;
  double level_dbfs = 0.0;
};

/// A tone's figures from its spectrum. Each component's power is the sum over its lobe
/// (`Spectrum::lobe_bins` either side of its peak), so levels hold with any window and off-bin
/// frequencies. Noise is every other bin away from DC, scaled up for the bins the tone, its
/// harmonics and DC took. All in dB (THD and SFDR in dBc), finite.
/// The window sets how far down distortion and noise can be seen off-bin: use Blackman-Harris
/// 7-term there (side lobes -180 dB). Hann leaks about -38 dBc beyond its lobe for a tone
/// between bins and rectangular far more; both are exact only for a tone centred on a bin.
struct ToneFigures {
  SpectrumError error = SpectrumError::kNone;
  double frequency_hz = 0.0;  ///< power-weighted centre of the fundamental's lobe
  double level_dbfs = 0.0;
  double snr_db = 0.0;
  double thd_db = 0.0;
  double sinad_db = 0.0;
  double sfdr_db = 0.0;
  double enob_bits = 0.0;  ///< (SINAD - 1.76) / 6.02
  std::vector<Harmonic> harmonics;
  /// Noise and distortion are below `kResolution` of full scale (an exact tone): the figures
  /// that divide by them are taken at that floor.
  bool below_resolution = false;
};

ToneFigures AnalyseTone(const Spectrum& spectrum, const ToneSettings& settings = {});

}  // namespace korvane
