#include "app/view/fourier_job.h"

#include <cmath>
#include <cstdio>

#include "fourier/band_noise.h"
#include "fourier/sine_fit.h"
#include "fourier/tone_figures.h"
#include "fourier/window.h"
#include "records/csv_format.h"

namespace korvane {

namespace {

/// Half the 24-bit code range: the peak of the full-scale sine, in codes.
constexpr double kFullScalePeakCodes = 8388608.0;

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

/// "1.23e-06" style for figures in volts that span many decades.
std::string Scientific(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4g", value);
  return text;
}

}  // namespace

SpectrumResult AnalyseRecord(const SpectrumInput& input, const SpectrumRequest& request) {
  SpectrumResult result;
  const BlockSettings& settings = input.settings;
  const bool in_volts = settings.volts_per_lsb > 0;
  const double scale = in_volts ? settings.volts_per_lsb : 1.0;
  const std::string unit = in_volts ? "V" : "code";
  std::vector<double> record(input.codes.size());
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = input.codes[i] * scale;

  SpectrumSettings base;
  base.sample_rate_hz = settings.seconds_per_reading > 0 ? 1.0 / settings.seconds_per_reading : 0;
  base.full_scale_peak = kFullScalePeakCodes * scale;
  base.window = request.window;
  const bool welch = request.segment_length > 0;
  const Spectrum spectrum =
      welch ? ComputeWelch(record, {base, request.segment_length, request.overlap})
            : ComputeSpectrum(record, base);

  result.figures.push_back({"source", input.source});
  result.figures.push_back({"readings", std::to_string(record.size())});
  result.figures.push_back({"window", std::string(WindowName(request.window))});
  result.figures.push_back(
      {"averaging", welch ? "Welch, segments of " + std::to_string(request.segment_length) +
                                ", overlap " + Fixed(request.overlap * 100, 0) + " %"
                          : "none"});
  if (spectrum.error != SpectrumError::kNone) {
    result.message = std::string(SpectrumErrorText(spectrum.error));
    return result;
  }
  result.figures.push_back({"sample_rate_Hz", Scientific(spectrum.sample_rate_hz)});
  result.figures.push_back({"bin_width_Hz", Scientific(spectrum.BinWidthHz())});
  result.figures.push_back({"segments", std::to_string(spectrum.segments)});

  const double density_scale = !in_volts ? 1.0 : request.micro ? 1e6 : 1e9;
  const std::string density_unit = !in_volts ? "code/√Hz" : request.micro ? "µV/√Hz" : "nV/√Hz";
  const std::vector<double> dbfs = MagnitudeDbfs(spectrum);
  result.value_caption =
      request.density ? "Density, " + density_unit : std::string("Magnitude, dBFS");
  for (std::size_t bin = 1; bin < spectrum.power.size(); ++bin) {
    result.frequency_hz.push_back(spectrum.FrequencyHz(bin));
    result.value.push_back(request.density ? spectrum.Density(bin) * density_scale : dbfs[bin]);
  }

  const double nyquist = spectrum.sample_rate_hz / 2;
  const double low = request.band_low_hz;
  const double high = request.band_high_hz > 0 ? std::min(request.band_high_hz, nyquist) : nyquist;
  result.figures.push_back({"band_Hz", Scientific(low) + " to " + Scientific(high)});
  const BandNoise band = IntegrateBand(spectrum, low, high);
  if (band.error != SpectrumError::kNone) {
    result.figures.push_back({"band_noise", std::string(SpectrumErrorText(band.error))});
  } else if (band.below_resolution) {
    result.figures.push_back({"band_noise", "below resolution"});
  } else {
    const double shown = in_volts ? band.rms * 1e6 : band.rms;
    result.figures.push_back(
        {in_volts ? "band_noise_uV_rms" : "band_noise_code_rms", Scientific(shown)});
    result.figures.push_back(
        {"band_density", Scientific(band.density * density_scale) + " " + density_unit});
  }

  // Tone figures come from one spectrum with the chosen window; the fit needs no window.
  const ToneFigures tone = AnalyseTone(spectrum);
  if (tone.error != SpectrumError::kNone) {
    result.figures.push_back({"tone", std::string(SpectrumErrorText(tone.error))});
    return result;
  }
  const std::string floor_note = tone.below_resolution ? " (below resolution)" : "";
  result.figures.push_back({"tone_frequency_Hz", Scientific(tone.frequency_hz)});
  result.figures.push_back({"tone_level_dBFS", Fixed(tone.level_dbfs, 2)});
  result.figures.push_back({"snr_dB", Fixed(tone.snr_db, 2) + floor_note});
  result.figures.push_back({"thd_dBc", Fixed(tone.thd_db, 2)});
  result.figures.push_back({"sinad_dB", Fixed(tone.sinad_db, 2) + floor_note});
  result.figures.push_back({"sfdr_dBc", Fixed(tone.sfdr_db, 2)});
  result.figures.push_back({"enob_bits", Fixed(tone.enob_bits, 2)});
  const SineFit fit =
      FitSine(record, spectrum.sample_rate_hz, base.full_scale_peak, tone.frequency_hz);
  if (fit.error != SpectrumError::kNone) {
    result.figures.push_back({"sine_fit", std::string(SpectrumErrorText(fit.error))});
    return result;
  }
  result.figures.push_back(
      {in_volts ? "fit_amplitude_V" : "fit_amplitude_code", Scientific(fit.amplitude)});
  result.figures.push_back({"fit_frequency_Hz", Fixed(fit.frequency_hz, 6)});
  result.figures.push_back(
      {in_volts ? "fit_residual_uV_rms" : "fit_residual_code_rms",
       fit.below_resolution ? "below resolution"
                            : Scientific(in_volts ? fit.residual_rms * 1e6 : fit.residual_rms)});
  result.figures.push_back({"fit_enob_bits", Fixed(fit.enob_bits, 2)});
  return result;
}

std::string SpectrumCsv(const SpectrumInput& input, const SpectrumRequest& request,
                        const SpectrumResult& result) {
  std::vector<FigureLine> lines{{"content", "spectrum"}, {"exported", UtcTimeText()}};
  for (const auto& line : result.figures) lines.push_back(line);
  for (auto& line : SettingLines(input.settings)) lines.push_back(std::move(line));
  if (!result.message.empty()) lines.push_back({"error", result.message});
  std::string out = CsvHeader(lines);
  out += "frequency_Hz,";
  out += request.density ? (request.micro ? "density_uV_per_rtHz" : "density_nV_per_rtHz")
                         : "magnitude_dBFS";
  out += "\n";
  char row[96];
  for (std::size_t i = 0; i < result.frequency_hz.size(); ++i) {
    std::snprintf(row, sizeof row, "%.9g,%.9g\n", result.frequency_hz[i], result.value[i]);
    out += row;
  }
  return out;
}

}  // namespace korvane
