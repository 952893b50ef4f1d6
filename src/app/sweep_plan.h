#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

/// What a noise-table sweep measures: every gain at every decimation (data rate), N readings each.
struct SweepPlan {
  std::vector<int> gains;
  std::vector<int> decimations;
  std::int64_t readings = 1000;
};

/// The rules of a sweep that need no board, shared by the window's dialog and the command line.
namespace sweep_rules {

inline constexpr int kLargestGain = 128;
inline constexpr int kLargestDecimation = 2047;
/// Fewer readings give no spread worth stating; more would not fit one record.
inline constexpr std::int64_t kFewestReadings = 10;
inline constexpr std::int64_t kMostReadings = 1 << 20;
/// Characters of one reading on the line (six hex digits, CR, LF), 10 bits each.
inline constexpr int kBitsPerReading = 80;
/// What a cell costs besides its readings: the seven register writes, the run's pause before its
/// stream and the end of the stream (measured on the simulated board at 57600 bit/s).
inline constexpr double kCellOverheadSeconds = 0.3;

/// Gains from "1,2,8" or "1,2,...,128": "..." between two gains stands for every power of two
/// between them. Empty text when read, else a one-line reason naming the bad entry.
std::string ParseGains(std::string_view text, std::vector<int>& gains);
/// Decimation ratios from "1920,960", each a whole number 1..2047.
std::string ParseDecimations(std::string_view text, std::vector<int>& decimations);
/// Data rates from "15,50,100" in Hz, each a number above 0.
std::string ParseRates(std::string_view text, std::vector<double>& rates);
/// Each rate turned into the decimation that makes it from the modulator rate (within the 3
/// decimals the window shows); a rate no decimation makes is refused, naming the nearest ones.
std::string DecimationsForRates(const std::vector<double>& rates, double modulator_khz,
                                std::vector<int>& decimations);

/// "" when the plan can run, else why not (no gains, a gain the PGA cannot do, a decimation out of
/// range, a repeated entry, a reading count out of range).
std::string CheckPlan(const SweepPlan& plan);

/// Readings thrown away after the run's own first four before a cell's readings count. The
/// chip's filter is a cascade of `k` running means one conversion long (Sinc3 and Auto k = 3,
/// Sinc2 2, Fast 1): after the gain or decimation changes, its output still holds older input
/// until each stage has been refilled, k conversions; one more covers the conversion that was
/// under way when the registers were written. `filter_index` is the filter list's position.
int SettlingReadings(int filter_index);

/// Seconds the plan takes: per cell the run's four dropped readings, the settling readings and
/// N readings at the slower of the data rate (times the chip's averaging count) and the link's
/// pace (`bits_per_second` / 80), plus the cell's fixed cost.
double EstimatedSeconds(const SweepPlan& plan, double modulator_khz, int chip_count,
                        int filter_index, double bits_per_second);

/// "about 45 s", "about 12 min 5 s", "about 2 h 3 min".
std::string DurationText(double seconds);

}  // namespace sweep_rules

}  // namespace korvane
