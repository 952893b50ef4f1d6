#include "acquisition/noise_figures.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "acquisition/reading_math.h"
#include "common/number_text.h"

namespace korvane {

namespace {

constexpr double kMicro = 1e6;

double BitsOf(double full_scale_volts, double spread_volts) {
  if (!(full_scale_volts > 0) || !(spread_volts > 0)) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  return std::log2(full_scale_volts / spread_volts);
}

std::string BitsText(double bits) {
  return std::isfinite(bits) ? FixedText(bits, 2) : "-";
}

std::string ValueText(double value, const BlockSettings& settings) {
  return settings.temperature ? FixedText(value, 3) : FixedText(value, 8);
}

}  // namespace

NoiseFigures ComputeNoiseFigures(std::span<const std::int32_t> codes,
                                 const BlockSettings& settings) {
  NoiseFigures figures;
  figures.count = static_cast<std::int64_t>(codes.size());
  if (codes.empty()) return figures;
  const double origin = codes.front();
  double sum = 0;
  double sum_of_squares = 0;
  for (const std::int32_t code : codes) {
    const double offset = code - origin;
    sum += offset;
    sum_of_squares += offset * offset;
  }
  const double n = static_cast<double>(codes.size());
  figures.mean_code = origin + sum / n;
  if (codes.size() > 1) {
    const double squares_about_mean = std::max(sum_of_squares - sum * sum / n, 0.0);
    figures.sigma_lsb = std::sqrt(squares_about_mean / (n - 1));
  }
  const auto [min, max] = std::minmax_element(codes.begin(), codes.end());
  figures.min_code = *min;
  figures.max_code = *max;
  figures.peak_to_peak_lsb = *max - *min;
  figures.sigma_uv = figures.sigma_lsb * settings.volts_per_lsb * kMicro;
  figures.peak_to_peak_uv = figures.peak_to_peak_lsb * settings.volts_per_lsb * kMicro;
  figures.effective_bits =
      BitsOf(settings.full_scale_volts, figures.sigma_lsb * settings.volts_per_lsb);
  figures.noise_free_bits =
      BitsOf(settings.full_scale_volts, figures.peak_to_peak_lsb * settings.volts_per_lsb);
  return figures;
}

std::vector<FigureLine> NoiseFigureLines(const NoiseFigures& f, const BlockSettings& settings) {
  const char* unit = settings.temperature ? "C" : "V";
  const double mean_volts = f.mean_code * settings.volts_per_lsb;
  const double mean_value = settings.temperature ? DiodeCelsius(mean_volts) : mean_volts;
  return {{"readings", std::to_string(f.count)},
          {"mean_code", FixedText(f.mean_code, 2)},
          {std::string("mean_") + unit, ValueText(mean_value, settings)},
          {"sigma_LSB", FixedText(f.sigma_lsb, 3)},
          {"sigma_uV_rms", FixedText(f.sigma_uv, 3)},
          {"peak_to_peak_LSB", std::to_string(f.peak_to_peak_lsb)},
          {"peak_to_peak_uV", FixedText(f.peak_to_peak_uv, 3)},
          {"effective_resolution_bits", BitsText(f.effective_bits)},
          {"noise_free_resolution_bits", BitsText(f.noise_free_bits)},
          {"min_code", std::to_string(f.min_code)},
          {"max_code", std::to_string(f.max_code)},
          {std::string("min_") + unit, ValueText(DisplayValue(f.min_code, settings), settings)},
          {std::string("max_") + unit, ValueText(DisplayValue(f.max_code, settings), settings)}};
}

}  // namespace korvane
