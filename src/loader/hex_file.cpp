#include "loader/hex_file.h"

namespace korvane {

HexFile::HexFile(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return;
  stream_.open(path, std::ios::in | std::ios::binary);
  // Reading one byte proves the file readable (an empty file reads as ending at once).
  open_ = stream_.is_open() && (stream_.peek(), !stream_.bad());
  if (open_) stream_.clear();
}

std::optional<std::string> HexFile::NextLine() {
  if (!open_ || stream_.peek() == std::ifstream::traits_type::eof()) return std::nullopt;
  std::string line;
  for (;;) {
    const auto next = stream_.get();
    if (next == std::ifstream::traits_type::eof()) break;
    const char c = static_cast<char>(next);
    if (c == '\n') break;
    if (c == '\r') {
      if (stream_.peek() == '\n') stream_.get();
      break;
    }
    if (line.size() < kLongestLine) line.push_back(c);
  }
  return line;
}

void HexFile::Close() {
  if (stream_.is_open()) stream_.close();
  open_ = false;
}

}  // namespace korvane
