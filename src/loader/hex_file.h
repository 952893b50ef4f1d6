#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace korvane {

/// The firmware file as the loader reads it: text lines that end at CR, CR LF or LF (none of them
/// is part of the line), so files written on any system read alike. The file is opened and its
/// first bytes read at once, so a file that cannot be read is known before anything is sent to
/// the board.
class HexFile {
 public:
  /// No Intel HEX record is longer than 521 characters; a line longer than this is cut here and
  /// its rest skipped, so that a file without line ends never fills the memory. The cut line is
  /// no record, and the loader's check refuses it.
  static constexpr std::size_t kLongestLine = 4096;

  /// Opens `path` for reading; IsOpen() tells whether it could be opened and read.
  explicit HexFile(const std::filesystem::path& path);

  bool IsOpen() const { return open_; }
  /// The next line, or nothing at the end of the file (or after a read error).
  std::optional<std::string> NextLine();
  void Close();

 private:
  std::ifstream stream_;
  bool open_ = false;
};

}  // namespace korvane
