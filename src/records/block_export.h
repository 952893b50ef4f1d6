#pragma once

#include <filesystem>
#include <span>
#include <string>

#include "acquisition/last_block.h"

namespace korvane {

/// Writes `block` as CSV: the "#" lines (kind, program and version, time, where the block came
/// from, its figures and settings), the column row, one row per reading. The file appears under
/// its name only once it is whole. Returns "" when written, else what went wrong.
std::string WriteBlockCsv(const std::filesystem::path& path, const LastBlock& block,
                          const std::string& program_version);

/// Writes a long record as CSV: the "#" lines (kind "record", program, time, readings, settings),
/// the column row and one row per signed code, as a run's recording; opened again like one.
std::string WriteRecordCsv(const std::filesystem::path& path, std::span<const std::int32_t> codes,
                           const BlockSettings& settings, const std::string& program_version);

/// A long record's CSV text as `WriteRecordCsv` writes it; `program` names the program and its
/// version, `figures` are "#" lines added after the settings (none for the window's record).
std::string RecordCsvText(std::span<const std::int32_t> codes, const BlockSettings& settings,
                          const std::string& program, const std::vector<FigureLine>& figures = {});

/// Writes `text` to `path` by way of `path` + ".partial", renamed once all of it is on disk.
std::string WriteWholeFile(const std::filesystem::path& path, const std::string& text);

}  // namespace korvane
