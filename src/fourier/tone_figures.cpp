#include "fourier/tone_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace korvane {
namespace {

enum class Owner : std::uint8_t { kNoise, kDc, kFundamental, kHarmonic };

/// The bins of the spectrum and who they belong to.
class BinMap {
 public:
  explicit BinMap(const Spectrum& spectrum)
      : power_(spectrum.power), owner_(spectrum.power.size(), Owner::kNoise) {
    std::fill_n(owner_.begin(), std::min(spectrum.DcBins(), owner_.size()), Owner::kDc);
  }

  Owner OwnerOf(std::size_t k) const { return owner_[k]; }
  std::size_t Size() const { return owner_.size(); }

  /// The bin of largest power among `from..to` whose owner passes `pick`.
  template <typename Pick>
  std::size_t Peak(std::size_t from, std::size_t to, Pick pick) const {
    std::size_t best = Size();
    for (std::size_t k = from; k <= to && k < Size(); ++k) {
      if (pick(owner_[k]) && (best == Size() || power_[k] > power_[best])) best = k;
    }
    return best;
  }

  /// Sums the lobe around `centre` over the bins `pick` accepts, gives them to `owner`, and
  /// returns the power and the power-weighted centre bin.
  template <typename Pick>
  std::pair<double, double> TakeLobe(std::size_t centre, int half_width, Owner owner, Pick pick) {
    const std::size_t from =
        centre > static_cast<std::size_t>(half_width) ? centre - half_width : 0;
    const std::size_t to = std::min(Size() - 1, centre + half_width);
    double power = 0.0;
    double moment = 0.0;
    for (std::size_t k = from; k <= to; ++k) {
      if (!pick(owner_[k])) continue;
      power += power_[k];
      moment += power_[k] * static_cast<double>(k);
      owner_[k] = owner;
    }
    return {power, power > 0.0 ? moment / power : static_cast<double>(centre)};
  }

 private:
  const std::vector<double>& power_;
  std::vector<Owner> owner_;
};

/// Mean noise power of one bin, from the median of `bins` (a tone and its harmonics do not
/// move a median); the median of a single transform's bins is ln 2 of the mean.
double TypicalNoiseBin(std::vector<double> bins) {
  if (bins.empty()) return 0.0;
  auto middle = bins.begin() + bins.size() / 2;
  std::nth_element(bins.begin(), middle, bins.end());
  return *middle / std::numbers::ln2;
}

/// A tone stands 20 dB out of the whole spectrum's noise and out of the bins near it (two to
/// six lobes away, at least 8 to 24 bins: beyond the rectangular window's near side lobes);
/// 1/f noise or drift piles up at the lowest bins but stands out of nothing nearby.
bool StandsOut(const Spectrum& spectrum, std::size_t peak, double lobe_power) {
  const auto lobe = static_cast<std::size_t>(spectrum.lobe_bins);
  const double noise_in_lobe = 100.0 * static_cast<double>(2 * lobe + 1);
  const std::vector<double> away_from_dc(spectrum.power.begin() + spectrum.DcBins(),
                                         spectrum.power.end());
  std::vector<double> nearby;
  for (std::size_t d = std::max<std::size_t>(2 * lobe, 8); d <= std::max<std::size_t>(6 * lobe, 24);
       ++d) {
    if (peak >= d + spectrum.DcBins()) nearby.push_back(spectrum.power[peak - d]);
    if (peak + d < spectrum.power.size()) nearby.push_back(spectrum.power[peak + d]);
  }
  return lobe_power > noise_in_lobe * TypicalNoiseBin(away_from_dc) &&
         lobe_power > noise_in_lobe * TypicalNoiseBin(nearby);
}

double AliasedHz(double frequency_hz, double sample_rate_hz) {
  const double folded = std::fmod(frequency_hz, sample_rate_hz);
  return folded > sample_rate_hz / 2.0 ? sample_rate_hz - folded : folded;
}

}  // namespace

ToneFigures AnalyseTone(const Spectrum& spectrum, const ToneSettings& settings) {
  ToneFigures figures;
  if (spectrum.error != SpectrumError::kNone) {
    figures.error = spectrum.error;
    return figures;
  }
  const double bin_hz = spectrum.BinWidthHz();
  const int lobe = spectrum.lobe_bins;
  if (!std::isfinite(settings.fundamental_hz) || settings.fundamental_hz < 0.0 ||
      settings.fundamental_hz > spectrum.sample_rate_hz / 2.0 || settings.highest_harmonic < 1) {
    figures.error = SpectrumError::kBadSettings;
    return figures;
  }
  if (spectrum.power.size() <= spectrum.DcBins() + 4 * static_cast<std::size_t>(lobe)) {
    figures.error = SpectrumError::kTooShort;
    return figures;
  }

  BinMap bins(spectrum);
  const auto free = [](Owner o) { return o == Owner::kNoise; };
  std::size_t peak = 0;
  if (settings.fundamental_hz > 0.0) {
    const auto near = static_cast<std::size_t>(std::lround(settings.fundamental_hz / bin_hz));
    peak = bins.Peak(near > 0 ? near - 1 : 0, near + 1, free);
  } else {
    peak = bins.Peak(0, bins.Size() - 1, free);
  }
  if (peak >= bins.Size()) {
    figures.error = SpectrumError::kNoTone;
    return figures;
  }
  const auto [fundamental, centre] = bins.TakeLobe(peak, lobe, Owner::kFundamental, free);
  if (!StandsOut(spectrum, peak, fundamental)) {
    figures.error = SpectrumError::kNoTone;
    return figures;
  }
  figures.frequency_hz = centre * bin_hz;
  const double full_scale_power = spectrum.full_scale_peak * spectrum.full_scale_peak / 2.0;
  figures.level_dbfs = PowerRatioDb(fundamental, full_scale_power);

  double distortion = 0.0;
  for (int order = 2; order <= settings.highest_harmonic; ++order) {
    const double at_hz = AliasedHz(order * figures.frequency_hz, spectrum.sample_rate_hz);
    const auto near = static_cast<std::size_t>(std::lround(at_hz / bin_hz));
    const double power = bins.TakeLobe(near, lobe, Owner::kHarmonic, free).first;
    distortion += power;
    figures.harmonics.push_back({order, at_hz, PowerRatioDb(power, full_scale_power)});
  }

  double noise = 0.0;
  std::size_t noise_bins = 0;
  for (std::size_t k = 0; k < bins.Size(); ++k) {
    if (bins.OwnerOf(k) != Owner::kNoise) continue;
    noise += spectrum.power[k];
    ++noise_bins;
  }
  if (noise_bins > 0) noise *= static_cast<double>(bins.Size()) / static_cast<double>(noise_bins);

  const auto spur_bin = bins.Peak(
      0, bins.Size() - 1, [](Owner o) { return o == Owner::kNoise || o == Owner::kHarmonic; });
  double spur = 0.0;
  if (spur_bin < bins.Size()) {
    spur = bins.TakeLobe(spur_bin, lobe, Owner::kHarmonic,
                         [](Owner o) { return o == Owner::kNoise || o == Owner::kHarmonic; })
               .first;
  }

  // Rounding sets the least noise, distortion or spur a figure divides by.
  const double floor = std::pow(spectrum.full_scale_peak * kResolution, 2.0);
  figures.snr_db = PowerRatioDb(fundamental, std::max(noise, floor));
  figures.thd_db = PowerRatioDb(std::max(distortion, floor), fundamental);
  figures.sinad_db = PowerRatioDb(fundamental, std::max(noise + distortion, floor));
  figures.sfdr_db = PowerRatioDb(fundamental, std::max(spur, floor));
  figures.enob_bits = (figures.sinad_db - 1.76) / 6.02;
  figures.below_resolution = noise + distortion < floor;
  return figures;
}

}  // namespace korvane
