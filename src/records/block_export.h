#pragma once

#include <filesystem>
#include <string>

#include "acquisition/last_block.h"

namespace korvane {

/// Writes `block` as CSV: the "#" lines (kind, program and version, time, where the block came
/// from, its figures and settings), the column row, one row per reading. The file appears under
/// its name only once it is whole. Returns "" when written, else what went wrong.
std::string WriteBlockCsv(const std::filesystem::path& path, const LastBlock& block,
                          const std::string& program_version);

/// Writes `text` to `path` by way of `path` + ".partial", renamed once all of it is on disk.
std::string WriteWholeFile(const std::filesystem::path& path, const std::string& text);

}  // namespace korvane
