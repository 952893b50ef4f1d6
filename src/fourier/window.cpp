#include "fourier/window.h"

#include <cmath>
#include <numbers>
#include <span>

namespace korvane {
namespace {

constexpr double kRectangular[] = {1.0};
constexpr double kHann[] = {0.5, 0.5};
constexpr double kBlackmanHarris4[] = {0.35875, 0.48829, 0.14128, 0.01168};
constexpr double kBlackmanHarris7[] = {0.27105140069342, 0.43329793923448, 0.21812299954311,
                                       0.06592544638803, 0.01081174209837, 0.00077658482522,
                                       0.00001388721735};

std::span<const double> Coefficients(WindowKind kind) {
  switch (kind) {
    case WindowKind::kHann:
      return kHann;
    case WindowKind::kBlackmanHarris4:
      return kBlackmanHarris4;
    case WindowKind::kBlackmanHarris7:
      return kBlackmanHarris7;
    case WindowKind::kRectangular:
      break;
  }
  return kRectangular;
}

}  // namespace

WindowShape MakeWindow(WindowKind kind, std::size_t length) {
  const auto terms = Coefficients(kind);
  WindowShape shape;
  shape.kind = kind;
  shape.lobe_bins = static_cast<int>(terms.size());
  shape.weights.resize(length);
  // cos(2 pi k n / N) is the table's entry k n mod N: one cosine per point, not one per term.
  std::vector<double> cosines(length);
  const double step = 2.0 * std::numbers::pi / static_cast<double>(length);
  for (std::size_t j = 0; j < length; ++j) cosines[j] = std::cos(step * static_cast<double>(j));
  std::vector<std::size_t> index(terms.size(), 0);  // k n mod N, kept by adding k
  double sum = 0.0;
  double sum_squares = 0.0;
  for (std::size_t n = 0; n < length; ++n) {
    double w = 0.0;
    double sign = 1.0;
    for (std::size_t k = 0; k < terms.size(); ++k, sign = -sign) {
      w += sign * terms[k] * cosines[index[k]];
      index[k] += k;
      if (index[k] >= length) index[k] -= length;
    }
    shape.weights[n] = w;
    sum += w;
    sum_squares += w * w;
  }
  if (length > 0 && sum > 0.0) {
    shape.coherent_gain = sum / static_cast<double>(length);
    shape.enbw_bins = static_cast<double>(length) * sum_squares / (sum * sum);
  }
  return shape;
}

std::string_view WindowName(WindowKind kind) {
  switch (kind) {
    case WindowKind::kRectangular:
      return "Rectangular";
    case WindowKind::kHann:
      return "Hann";
    case WindowKind::kBlackmanHarris4:
      return "Blackman-Harris 4-term";
    case WindowKind::kBlackmanHarris7:
      return "Blackman-Harris 7-term";
  }
  return "";
}

}  // namespace korvane
