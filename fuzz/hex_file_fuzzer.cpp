// The loader's reading of the firmware file. The input is the file's bytes; it is written to one
// temporary file per run, read back line by line, and read again whole with its records checked.

#include <unistd.h>

#include <algorithm>
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
#include "loader/hex_program.h"

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

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  HexFile file(path);
  Check(file.IsOpen(), "a readable file opens");
  std::vector<std::string> lines;
  while (auto line = file.NextLine()) {
    Check(line->size() <= HexFile::kLongestLine, "a line is never longer than the longest kept");
    Check(line->find_first_of("\r\n") == std::string::npos, "a line holds no CR or LF");
    lines.push_back(std::move(*line));
  }
  Check(!file.NextLine(), "the end of the file stays the end");
  file.Close();
  Check(!file.IsOpen() && !file.NextLine(), "a closed file gives no lines");
  return lines;
}

/// The whole-file check agrees with the check of each line: it keeps the file's first lines up
/// to the first end record or faulty line, and its fault is that line's.
void CheckProgram(const HexProgram& program, const std::vector<std::string>& lines) {
  Check(program.lines.size() <= lines.size() &&
            std::equal(program.lines.begin(), program.lines.end(), lines.begin()),
        "the program's lines are the file's first lines");
  for (std::size_t i = 0; i < program.lines.size(); ++i) {
    const HexRecordCheck check = CheckHexRecord(program.lines[i]);
    const bool last = i + 1 == program.lines.size();
    Check(last || (check.fault == HexFault::kNone && !check.end_record),
          "every line before the last is a data record");
    if (!last) continue;
    Check(program.fault == (check.fault == HexFault::kNone && !check.end_record
                                ? HexFault::kNoEndRecord
                                : check.fault),
          "the fault is the last line's, or the missing end record");
    Check(program.fault_line == (check.fault == HexFault::kNone ? 0 : std::int32_t(i + 1)),
          "the fault names the last line read");
  }
  Check(!program.lines.empty() || (lines.empty() && program.fault == HexFault::kEmptyFile),
        "only a file without lines is empty");
}

}  // namespace
}  // namespace korvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size > kLargestFile) return -1;
  static ScratchFile scratch;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = ReadLines(scratch.Write(bytes));
  std::string rewritten;
  for (const std::string& line : lines) rewritten += line + "\r\n";
  Check(lines.size() <= size && ReadLines(scratch.Write(rewritten)) == lines,
        "the lines written back with CR LF read the same");
  HexFile again(scratch.Write(bytes));
  CheckProgram(ReadHexProgram(again), lines);
  return 0;
}
