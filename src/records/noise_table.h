#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "acquisition/block_settings.h"
#include "acquisition/noise_figures.h"

namespace korvane {

/// One cell of the noise table: the figures of the readings taken at one gain and data rate.
struct NoiseTableCell {
  int gain = 1;
  int decimation = 0;
  double data_rate_hz = 0;
  NoiseFigures figures;
  /// False when the sweep ended during this cell: `figures.count` readings instead of all.
  bool whole = true;
};

/// The noise of the converter against gain and data rate, as converter datasheets print it.
struct NoiseTable {
  std::vector<NoiseTableCell> cells;
  /// Readings asked for per cell, and readings thrown away before them while the filter settles.
  std::int64_t readings_per_cell = 0;
  int settling_readings = 0;
  std::size_t planned_cells = 0;
  /// The settings every cell shares (clock, filter, reference, channels ...), as "key: value".
  std::vector<FigureLine> settings;
  /// Empty when every planned cell was measured whole; else why the sweep ended early.
  std::string incomplete;
};

/// The first line of a noise-table CSV, so that it is never taken for a recording.
inline constexpr const char* kNoiseTableMarker = "# korvane-demo noise table";

/// CSV: the marker, "# key: value" lines (program, time, readings per cell, the shared settings,
/// and "incomplete: why" when it is), the column row, one row per cell in the order measured.
std::string NoiseTableCsv(const NoiseTable& table, const std::string& program_version,
                          const std::string& time_text);

/// Markdown laid out as datasheets do: rows are data rates (rising), columns gains (rising);
/// a first table of noise, each cell "µV rms (µV p-p)", then one of effective (noise-free)
/// resolution in bits. A cell not measured reads "–", a cell cut short carries "*".
std::string NoiseTableMarkdown(const NoiseTable& table);

/// `value` with `digits` significant digits in fixed notation ("0.853", "12.4", "130").
std::string SignificantText(double value, int digits);

}  // namespace korvane
