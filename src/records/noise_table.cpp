#include "records/noise_table.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "common/number_text.h"

namespace korvane {

namespace {

std::string BitsText(double bits, int decimals) {
  return std::isfinite(bits) ? FixedText(bits, decimals) : "-";
}

std::string RateText(double rate_hz) {
  return GeneralText(std::round(rate_hz * 1000) / 1000);
}

/// The grid of a table: its data rates (as decimations, rising rate) and its gains (rising),
/// with the cell measured at each pair.
struct Grid {
  std::vector<int> decimations;
  std::vector<int> gains;
  std::map<std::pair<int, int>, const NoiseTableCell*> cells;
  std::map<int, double> rates;
};

Grid GridOf(const NoiseTable& table) {
  Grid grid;
  for (const NoiseTableCell& cell : table.cells) {
    grid.cells[{cell.decimation, cell.gain}] = &cell;
    grid.rates[cell.decimation] = cell.data_rate_hz;
    if (std::ranges::find(grid.gains, cell.gain) == grid.gains.end()) {
      grid.gains.push_back(cell.gain);
    }
  }
  for (const auto& [decimation, rate] : grid.rates) grid.decimations.push_back(decimation);
  // A larger decimation is a lower rate.
  std::ranges::sort(grid.decimations, std::greater<>());
  std::ranges::sort(grid.gains);
  return grid;
}

template <typename CellText>
std::string MarkdownGrid(const Grid& grid, CellText cell_text) {
  std::string out = "| Data rate, Hz |";
  std::string rule = "|---:|";
  for (const int gain : grid.gains) {
    out += " Gain " + std::to_string(gain) + " |";
    rule += "---:|";
  }
  out += "\n" + rule + "\n";
  for (const int decimation : grid.decimations) {
    out += "| " + RateText(grid.rates.at(decimation)) + " |";
    for (const int gain : grid.gains) {
      const auto found = grid.cells.find({decimation, gain});
      if (found == grid.cells.end()) {
        out += " – |";
      } else {
        out += " " + cell_text(found->second->figures) + (found->second->whole ? "" : "*") + " |";
      }
    }
    out += "\n";
  }
  return out;
}

}  // namespace

std::string SignificantText(double value, int digits) {
  if (!std::isfinite(value) || value == 0) return GeneralText(value);
  const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  return FixedText(value, std::max(0, digits - 1 - magnitude));
}

std::string NoiseTableCsv(const NoiseTable& table, const std::string& program_version,
                          const std::string& time_text) {
  std::string out = std::string(kNoiseTableMarker) + "\n";
  const auto line = [&out](const std::string& key, const std::string& value) {
    out += "# " + key + ": " + value + "\n";
  };
  line("program", "korvane-demo " + program_version);
  line("time", time_text);
  line("readings_per_cell", std::to_string(table.readings_per_cell));
  line("settling_readings_discarded", std::to_string(table.settling_readings));
  line("cells", std::to_string(table.cells.size()) + " of " + std::to_string(table.planned_cells));
  for (const auto& [key, value] : table.settings) line(key, value);
  if (!table.incomplete.empty()) line("incomplete", table.incomplete);
  out +=
      "gain,decimation,data_rate_Hz,readings,mean_code,sigma_LSB,sigma_uV_rms,peak_to_peak_LSB,"
      "peak_to_peak_uV,effective_resolution_bits,noise_free_resolution_bits,whole\n";
  for (const NoiseTableCell& cell : table.cells) {
    const NoiseFigures& f = cell.figures;
    out += std::to_string(cell.gain) + "," + std::to_string(cell.decimation) + "," +
           FixedText(cell.data_rate_hz, 3) + "," + std::to_string(f.count) + "," +
           FixedText(f.mean_code, 2) + "," + FixedText(f.sigma_lsb, 3) + "," +
           FixedText(f.sigma_uv, 3) + "," + std::to_string(f.peak_to_peak_lsb) + "," +
           FixedText(f.peak_to_peak_uv, 3) + "," + BitsText(f.effective_bits, 2) + "," +
           BitsText(f.noise_free_bits, 2) + "," + (cell.whole ? "yes" : "no") + "\n";
  }
  return out;
}

std::string NoiseTableMarkdown(const NoiseTable& table) {
  const Grid grid = GridOf(table);
  std::string out = "Noise in µV rms (µV peak-to-peak), " +
                    std::to_string(table.readings_per_cell) + " readings per cell\n\n";
  out += MarkdownGrid(grid, [](const NoiseFigures& f) {
    return SignificantText(f.sigma_uv, 3) + " (" + SignificantText(f.peak_to_peak_uv, 3) + ")";
  });
  out += "\nEffective resolution in bits (noise-free resolution in bits)\n\n";
  out += MarkdownGrid(grid, [](const NoiseFigures& f) {
    return BitsText(f.effective_bits, 1) + " (" + BitsText(f.noise_free_bits, 1) + ")";
  });
  if (!table.settings.empty()) {
    out += "\nSettings:";
    for (const auto& [key, value] : table.settings) out += " " + key + " " + value + ";";
    out.back() = '\n';
  }
  if (!table.incomplete.empty()) {
    out += "\n**Incomplete:** " + table.incomplete + " (" + std::to_string(table.cells.size()) +
           " of " + std::to_string(table.planned_cells) +
           " cells; * marks a cell with fewer readings than asked for).\n";
  }
  return out;
}

}  // namespace korvane
