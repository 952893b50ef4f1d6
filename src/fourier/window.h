#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace korvane {

enum class WindowKind { kRectangular, kHann, kBlackmanHarris4, kBlackmanHarris7 };

/// A window's weights and the figures that turn a windowed transform back into levels.
struct WindowShape {
  WindowKind kind = WindowKind::kRectangular;
  std::vector<double> weights;
  /// Mean weight: a tone's transform peak is scaled by it.
  double coherent_gain = 1.0;
  /// Equivalent noise bandwidth in bins: N * sum(w^2) / sum(w)^2.
  double enbw_bins = 1.0;
  /// Half the main lobe's width in bins (the number of cosine terms): a tone, or DC, leaks
  /// into this many bins either side of its own.
  int lobe_bins = 1;
};

/// The periodic (DFT-even) window of `length` points, as used for spectra: a sum of cosines
/// with the published coefficients (Blackman-Harris 4-term: -92 dB side lobes; 7-term: the
/// -180 dB set used for high-resolution converter tests).
WindowShape MakeWindow(WindowKind kind, std::size_t length);

std::string_view WindowName(WindowKind kind);

}  // namespace korvane
