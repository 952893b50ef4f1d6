#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "acquisition/block_settings.h"

namespace korvane {

/// The first line of every file this program writes, so that the reader knows its own files.
inline constexpr const char* kCsvMarker = "# korvane-demo readings";

/// The header row after the "#" lines: the last column is volts, or degrees C for the
/// temperature input.
std::string CsvColumnRow(bool temperature);

/// The "#" lines: the marker, then one "# key: value" line per entry.
std::string CsvHeader(const std::vector<FigureLine>& lines);

/// Appends one row: the reading's number (from 1), its time in s from the first reading, its code
/// as the board sent it (6 hex digits), the signed code and the value as the reading display
/// shows it (volts with 8 decimals, degrees C with 3). Dot decimals, comma-separated, "\n".
void AppendCsvRow(std::string& out, std::int64_t index, std::int32_t raw_code,
                  const BlockSettings& settings);

/// The current time as "2026-12-06T22:40:05Z".
std::string UtcTimeText();

}  // namespace korvane
