#include "support/hex_folder.h"

#include <unistd.h>

#include <atomic>
#include <fstream>

#include "board/hex_image.h"
#include "loader/program_loader.h"

namespace korvane::testing {

HexFolder::HexFolder() {
  static std::atomic<int> count{0};
  path_ = std::filesystem::temp_directory_path() /
          ("korvane-hex-" + std::to_string(::getpid()) + "-" + std::to_string(++count));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

HexFolder::~HexFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path HexFolder::HexFilePath() const {
  return path_ / ProgramLoader::kHexFileName;
}

void HexFolder::WriteHexFile(std::string_view bytes) const {
  std::ofstream out(HexFilePath(), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void HexFolder::WriteHexLines(const std::vector<std::string>& lines) const {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  WriteHexFile(text);
}

void HexFolder::WriteProgram(std::size_t size, bool whole) const {
  const auto bytes = DemoProgramBytes(size);
  WriteHexLines(whole ? HexImageLines(0x0000, bytes) : PartialHexImageLines(0x0000, bytes));
}

}  // namespace korvane::testing
