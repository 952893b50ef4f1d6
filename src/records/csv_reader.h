#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "acquisition/block_settings.h"

namespace korvane {

/// A file of readings as this program writes it (a block or a recorded run).
struct Recording {
  /// The "# key: value" lines, in order.
  std::vector<FigureLine> header;
  BlockSettings settings;
  /// The signed codes, in the file's order.
  std::vector<std::int32_t> codes;
  /// The number of the first row (above 1 when recording started during a run).
  std::int64_t first_index = 1;
};

/// Files above this size are refused before they are read.
inline constexpr std::uintmax_t kLargestRecordingBytes = std::uintmax_t{4} << 30;
/// Rows above this count are refused (about 38 hours at 720 readings/s).
inline constexpr std::int64_t kMostRecordingRows = 100'000'000;

/// Reads and checks a whole file: the marker line, "# key: value" lines, the column row, then
/// rows numbered one after the other whose code matches its hexadecimal code, each ending in a
/// line end. `progress` (may be empty) is told the share read now and then; returning false stops
/// the reading. Returns "" when read, else a message that names the line at fault.
std::string ReadRecording(const std::filesystem::path& path, Recording& recording,
                          const std::function<bool(double)>& progress = {});

/// The same for a stream of `size` bytes; `name` names it in the messages.
std::string ReadRecording(std::istream& file, std::uintmax_t size, const std::string& name,
                          Recording& recording, const std::function<bool(double)>& progress = {});

}  // namespace korvane

namespace korvane {

/// The rows of a recording that are shown as its block: the last whole block of the length it
/// was recorded with (at most 5000 readings), or all rows when there are fewer.
struct ShownRows {
  std::size_t first = 0;
  std::size_t count = 0;
};
ShownRows ShownBlockOf(std::size_t rows, int block_length);

}  // namespace korvane
