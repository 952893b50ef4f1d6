#include "app/sweep_plan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>

#include "adcconfig/adc_timing.h"
#include "common/number_text.h"

namespace korvane::sweep_rules {

namespace {

constexpr int kRunDroppedReadings = 4;
constexpr std::string_view kEllipsis = "...";

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

/// The comma-separated entries of `text`, trimmed.
std::vector<std::string_view> Entries(std::string_view text) {
  std::vector<std::string_view> entries;
  for (;;) {
    const auto comma = text.find(',');
    entries.push_back(Trimmed(text.substr(0, comma)));
    if (comma == std::string_view::npos) return entries;
    text.remove_prefix(comma + 1);
  }
}

bool ReadNumber(std::string_view entry, double& value) {
  const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), value);
  return error == std::errc() && end == entry.data() + entry.size() && std::isfinite(value);
}

bool ReadWhole(std::string_view entry, int& value) {
  const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), value);
  return error == std::errc() && end == entry.data() + entry.size();
}

bool IsGain(int gain) {
  return gain >= 1 && gain <= kLargestGain && (gain & (gain - 1)) == 0;
}

std::string Quoted(std::string_view entry) {
  return "\"" + std::string(entry) + "\"";
}

}  // namespace

std::string ParseGains(std::string_view text, std::vector<int>& gains) {
  gains.clear();
  bool fill = false;
  for (const std::string_view entry : Entries(text)) {
    if (entry == kEllipsis) {
      if (gains.empty() || fill) return "\"...\" must stand between two gains";
      fill = true;
      continue;
    }
    int gain = 0;
    if (!ReadWhole(entry, gain) || !IsGain(gain)) {
      return "gain " + Quoted(entry) + " is not one the chip can do (1, 2, 4, ..., 128)";
    }
    if (fill) {
      if (gain <= gains.back()) return "\"...\" must lead to a larger gain";
      for (int between = gains.back() * 2; between < gain; between *= 2) gains.push_back(between);
      fill = false;
    }
    gains.push_back(gain);
  }
  if (fill) return "\"...\" must stand between two gains";
  return "";
}

std::string ParseDecimations(std::string_view text, std::vector<int>& decimations) {
  decimations.clear();
  for (const std::string_view entry : Entries(text)) {
    int decimation = 0;
    if (!ReadWhole(entry, decimation) || decimation < 1 || decimation > kLargestDecimation) {
      return "decimation " + Quoted(entry) + " is not one the chip can do (1 .. 2047)";
    }
    decimations.push_back(decimation);
  }
  return "";
}

std::string ParseRates(std::string_view text, std::vector<double>& rates) {
  rates.clear();
  for (const std::string_view entry : Entries(text)) {
    double rate = 0;
    if (!ReadNumber(entry, rate) || !(rate > 0)) {
      return "data rate " + Quoted(entry) + " is not a number of Hz above 0";
    }
    rates.push_back(rate);
  }
  return "";
}

std::string DecimationsForRates(const std::vector<double>& rates, double modulator_khz,
                                std::vector<int>& decimations) {
  decimations.clear();
  const double modulator_hz = modulator_khz * 1000;
  for (const double rate : rates) {
    const double exact = modulator_hz / rate;
    const int nearest = static_cast<int>(std::clamp(std::round(exact), 1.0, 2047.0));
    if (std::fabs(DataRateHz(modulator_khz, nearest) - rate) < 0.0005 + 1e-9 * rate) {
      decimations.push_back(nearest);
      continue;
    }
    // The two rates the chip can make on either side of the one asked for.
    const int below = static_cast<int>(std::clamp(std::ceil(exact), 1.0, 2047.0));
    const int above = static_cast<int>(std::clamp(std::floor(exact), 1.0, 2047.0));
    std::string nearest_rates = GeneralText(DataRateHz(modulator_khz, below)) + " Hz";
    if (above != below) {
      nearest_rates += " or " + GeneralText(DataRateHz(modulator_khz, above)) + " Hz";
    }
    return "data rate " + GeneralText(rate) +
           " Hz is not one the chip can do at a modulator rate of " + GeneralText(modulator_khz) +
           " kHz (nearest: " + nearest_rates + ")";
  }
  return "";
}

std::string CheckPlan(const SweepPlan& plan) {
  if (plan.gains.empty()) return "no gain to measure";
  if (plan.decimations.empty()) return "no data rate to measure";
  for (const int gain : plan.gains) {
    if (!IsGain(gain)) return "gain " + std::to_string(gain) + " is not one the chip can do";
  }
  for (const int decimation : plan.decimations) {
    if (decimation < 1 || decimation > kLargestDecimation) {
      return "decimation " + std::to_string(decimation) + " is not one the chip can do";
    }
  }
  if (std::set<int>(plan.gains.begin(), plan.gains.end()).size() != plan.gains.size()) {
    return "a gain is given twice";
  }
  if (std::set<int>(plan.decimations.begin(), plan.decimations.end()).size() !=
      plan.decimations.size()) {
    return "a data rate is given twice";
  }
  if (plan.readings < kFewestReadings || plan.readings > kMostReadings) {
    return "readings per cell must be " + std::to_string(kFewestReadings) + " .. " +
           std::to_string(kMostReadings);
  }
  return "";
}

int SettlingReadings(int filter_index) {
  static constexpr int kFilterOrder[] = {3, 1, 2, 3};  // Auto, Fast, Sinc2, Sinc3
  return kFilterOrder[std::clamp(filter_index, 0, 3)] + 1;
}

double EstimatedSeconds(const SweepPlan& plan, double modulator_khz, int chip_count,
                        int filter_index, double bits_per_second) {
  const double link_seconds = bits_per_second > 0 ? kBitsPerReading / bits_per_second : 0;
  const double readings =
      static_cast<double>(kRunDroppedReadings + SettlingReadings(filter_index) + plan.readings);
  double seconds = 0;
  for (const int decimation : plan.decimations) {
    const double conversion = modulator_khz > 0 ? decimation / (modulator_khz * 1000) : 0;
    const double reading = std::max(conversion * std::max(chip_count, 1), link_seconds);
    seconds += static_cast<double>(plan.gains.size()) * (readings * reading + kCellOverheadSeconds);
  }
  return seconds;
}

std::string DurationText(double seconds) {
  const auto whole = static_cast<long long>(std::ceil(std::max(seconds, 0.0)));
  if (whole < 120) return "about " + std::to_string(whole) + " s";
  if (whole < 7200) {
    return "about " + std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
  }
  return "about " + std::to_string(whole / 3600) + " h " + std::to_string(whole / 60 % 60) + " min";
}

}  // namespace korvane::sweep_rules
