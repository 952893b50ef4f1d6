#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "acquisition/block_settings.h"

namespace korvane {

/// `lines` as "key: value" lines, or with `json` as one JSON object whose numbers are numbers
/// and everything else a string.
std::string FieldsText(const std::vector<FigureLine>& lines, bool json);

/// Writes `text` whole to `file`; false when it could not (a closed pipe, a full disk).
bool WriteAll(std::FILE* file, const std::string& text);

/// Whether `path` can be written, tried before the board is touched so that a long capture or
/// sweep is not lost at its end; says why not on stderr. An empty path needs no file.
bool CanWrite(const std::string& path);

}  // namespace korvane
