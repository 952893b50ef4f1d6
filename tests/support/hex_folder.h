#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::testing {

/// A fresh, empty folder of its own, for the loader's HEX file or a test's files; removed with
/// everything in it.
class HexFolder {
 public:
  HexFolder();
  ~HexFolder();
  HexFolder(const HexFolder&) = delete;
  HexFolder& operator=(const HexFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  /// The HEX file's full name inside the folder.
  std::filesystem::path HexFilePath() const;
  /// Writes the HEX file with exactly these bytes.
  void WriteHexFile(std::string_view bytes) const;
  /// Writes the HEX file with each line ended by CR LF.
  void WriteHexLines(const std::vector<std::string>& lines) const;
  /// Writes a demo program of `size` bytes from 0000 on (DemoProgramBytes): a whole image, which
  /// the simulated board runs after loading it, or a partial one (no trailer), which it does not.
  void WriteProgram(std::size_t size, bool whole = true) const;

 private:
  std::filesystem::path path_;
};

}  // namespace korvane::testing
