// The loader's reading of the firmware file. The input is the file's bytes; it is written to one
// temporary file per run and read back line by line.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "loader/hex_file.h"

namespace korvane {
namespace {

constexpr std::size_t kLargestFile = 16384;

/// The run's file, in memory where the system has a memory file system (a file on disk costs ten
/// times the rest of a run), removed when the run ends normally.
class ScratchFile {
 public:
  ScratchFile() : path_(Folder() / ("korvane_hex_file_fuzzer_" + std::to_string(getpid()))) {}
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::filesystem::path& Write(std::string_view bytes) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Check(out.good(), "the scratch file can be written");
    return path_;
  }

 private:
  static std::filesystem::path Folder() {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
  }

  std::filesystem::path path_;
};

/// The lines of `file` by the rules of HexFile: each ends at a CR or CR LF, a lone LF stays in
/// its line, and a line is cut at the longest line HexFile keeps.
std::vector<std::string> ExpectedLines(std::string_view file) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < file.size()) {
    const std::size_t end = file.find('\r', start);
    lines.emplace_back(file.substr(start, end - start).substr(0, HexFile::kLongestLine));
    if (end == std::string_view::npos) break;
    start = end + 1;
    if (start < file.size() && file[start] == '\n') ++start;
  }
  return lines;
}

}  // namespace
}  // namespace korvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size > kLargestFile) return -1;
  static ScratchFile scratch;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  HexFile file(scratch.Write(bytes));
  Check(file.IsOpen(), "a readable file opens");

  std::vector<std::string> lines;
  while (auto line = file.NextLine()) {
    Check(line->size() <= HexFile::kLongestLine, "a line is never longer than the longest kept");
    Check(line->find('\r') == std::string::npos, "a line holds no CR");
    lines.push_back(std::move(*line));
    Check(lines.size() <= size, "never more lines than bytes");
  }
  Check(lines == ExpectedLines(bytes), "lines taken equal the lines in the file");
  Check(!file.NextLine(), "the end of the file stays the end");
  file.Close();
  Check(!file.IsOpen() && !file.NextLine(), "a closed file gives no lines");
  return 0;
}
