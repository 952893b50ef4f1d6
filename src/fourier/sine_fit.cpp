#include "fourier/sine_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

#include "fourier/fourier_power.h"
#include "fourier/tone_figures.h"

namespace korvane {
namespace {

constexpr int kMaxIterations = 30;

template <std::size_t M>
using Matrix = std::array<std::array<double, M + 1>, M>;  // normal equations, right side last

/// Solves by elimination with partial pivoting; nothing when the columns are dependent (no
/// tone: the sine columns vanish).
template <std::size_t M>
std::optional<std::array<double, M>> Solve(Matrix<M> a) {
  double largest = 0.0;
  for (std::size_t i = 0; i < M; ++i) largest = std::max(largest, std::abs(a[i][i]));
  for (std::size_t col = 0; col < M; ++col) {
    std::size_t pivot = col;
    for (std::size_t row = col + 1; row < M; ++row) {
      if (std::abs(a[row][col]) > std::abs(a[pivot][col])) pivot = row;
    }
    if (!(std::abs(a[pivot][col]) > largest * 1e-13)) return std::nullopt;
    std::swap(a[col], a[pivot]);
    for (std::size_t row = col + 1; row < M; ++row) {
      const double f = a[row][col] / a[col][col];
      for (std::size_t c = col; c <= M; ++c) a[row][c] -= f * a[col][c];
    }
  }
  std::array<double, M> x{};
  for (std::size_t i = M; i-- > 0;) {
    double sum = a[i][M];
    for (std::size_t c = i + 1; c < M; ++c) sum -= a[i][c] * x[c];
    x[i] = sum / a[i][i];
  }
  return x;
}

/// The record's middle reading, where the fit's index m is 0.
double MiddleIndex(std::size_t size) {
  return static_cast<double>(size - 1) / 2.0;
}

/// Least squares of the record on the columns `columns(m, row)` (M of them, m the reading's
/// index from the record's middle, which keeps the equations well conditioned).
template <std::size_t M, typename Columns>
std::optional<std::array<double, M>> LeastSquares(std::span<const double> record, Columns columns) {
  Matrix<M> a{};
  const double middle = MiddleIndex(record.size());
  std::array<double, M> row{};
  for (std::size_t n = 0; n < record.size(); ++n) {
    columns(static_cast<double>(n) - middle, row);
    for (std::size_t i = 0; i < M; ++i) {
      for (std::size_t j = i; j < M; ++j) a[i][j] += row[i] * row[j];
      a[i][M] += row[i] * record[n];
    }
  }
  for (std::size_t i = 0; i < M; ++i) {
    for (std::size_t j = 0; j < i; ++j) a[i][j] = a[j][i];
  }
  return Solve<M>(a);
}

}  // namespace

SineFit FitSine(std::span<const double> record, double sample_rate_hz, double full_scale_peak,
                double start_hz) {
  SineFit fit;
  const auto fail = [&fit](SpectrumError error) {
    fit = SineFit{};
    fit.error = error;
    return fit;
  };
  if (!std::isfinite(sample_rate_hz) || sample_rate_hz <= 0.0 || !std::isfinite(full_scale_peak) ||
      full_scale_peak <= 0.0 || !std::isfinite(start_hz) || start_hz < 0.0 ||
      start_hz >= sample_rate_hz / 2.0) {
    return fail(SpectrumError::kBadSettings);
  }
  if (record.size() < kMinimumReadings) return fail(SpectrumError::kTooShort);
  if (!std::all_of(record.begin(), record.end(), [](double x) { return std::isfinite(x); })) {
    return fail(SpectrumError::kMissingReadings);
  }
  if (start_hz == 0.0) {
    const auto spectrum =
        ComputeSpectrum(record, {sample_rate_hz, full_scale_peak, WindowKind::kBlackmanHarris4});
    const auto tone = AnalyseTone(spectrum);
    if (tone.error != SpectrumError::kNone) return fail(tone.error);
    start_hz = tone.frequency_hz;
  }

  // Frequency in radians per reading; the fourth column is scaled by the half length so that
  // all four columns have the same size.
  double omega = 2.0 * std::numbers::pi * start_hz / sample_rate_hz;
  const double half = static_cast<double>(record.size()) / 2.0;
  auto three = LeastSquares<3>(record, [&](double m, std::array<double, 3>& row) {
    row = {std::cos(omega * m), std::sin(omega * m), 1.0};
  });
  if (!three) return fail(SpectrumError::kNoTone);
  std::array<double, 4> p = {(*three)[0], (*three)[1], (*three)[2], 0.0};
  bool settled = false;
  while (!settled && fit.iterations < kMaxIterations) {
    ++fit.iterations;
    const double a = p[0];
    const double b = p[1];
    auto four = LeastSquares<4>(record, [&](double m, std::array<double, 4>& row) {
      const double c = std::cos(omega * m);
      const double s = std::sin(omega * m);
      row = {c, s, 1.0, m / half * (b * c - a * s)};
    });
    if (!four) return fail(SpectrumError::kNoTone);
    p = *four;
    const double step = p[3] / half;
    omega += step;
    if (!(omega > 0.0 && omega < std::numbers::pi)) return fail(SpectrumError::kFitFailed);
    settled = std::abs(step) <= omega * 1e-13;
  }
  if (!settled) return fail(SpectrumError::kFitFailed);
  // The last step moved the frequency by less than the rounding: refit the sine at it.
  three = LeastSquares<3>(record, [&](double m, std::array<double, 3>& row) {
    row = {std::cos(omega * m), std::sin(omega * m), 1.0};
  });
  if (!three) return fail(SpectrumError::kNoTone);
  const auto [a, b, offset] = *three;

  double squares = 0.0;
  const double middle = MiddleIndex(record.size());
  for (std::size_t n = 0; n < record.size(); ++n) {
    const double m = static_cast<double>(n) - middle;
    const double r = record[n] - (a * std::cos(omega * m) + b * std::sin(omega * m) + offset);
    squares += r * r;
  }
  fit.amplitude = std::hypot(a, b);
  fit.frequency_hz = omega * sample_rate_hz / (2.0 * std::numbers::pi);
  // a cos(wm) + b sin(wm) = A cos(wm - atan2(b, a)), with m = n - middle.
  fit.phase_rad = std::remainder(-std::atan2(b, a) - omega * middle, 2.0 * std::numbers::pi);
  fit.offset = offset;
  fit.residual_rms = std::sqrt(squares / static_cast<double>(record.size()));
  const double floor = full_scale_peak * kResolution;
  fit.below_resolution = !(fit.residual_rms > floor);
  fit.enob_bits =
      std::log2(2.0 * full_scale_peak / (std::max(fit.residual_rms, floor) * std::sqrt(12.0)));
  return fit;
}

}  // namespace korvane
