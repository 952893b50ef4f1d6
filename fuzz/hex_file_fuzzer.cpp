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

/// The lines of `file` by the rules of HexFile: each ends at a CR, CR LF or LF, and a line is cut
/// at the longest line HexFile keeps.
std::vector<std::string> ExpectedLines(std::string_view file) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < file.size()) {
    const std::size_t end = file.find_first_of("\r\n", start);
    lines.emplace_back(file.substr(start, end - start).substr(0, HexFile::kLongestLine));
    if (end == std::string_view::npos) break;
    start = end + 1;
    if (file[end] == '\r' && start < file.size() && file[start] == '\n') ++start;
  }
  return lines;
}

/// The whole-file check agrees with the check of each line: the lines it keeps are the file's
/// first lines, all of them records but the faulty last one, and it stops at the first end record.
void CheckProgram(const HexProgram& program, const std::vector<std::string>& lines) {
  Check(program.lines.size() <= lines.size() &&
            std::equal(program.lines.begin(), program.lines.end(), lines.begin()),
        "the program's lines are the file's first lines");
  for (std::size_t i = 0; i + 1 < program.lines.size(); ++i) {
    const HexRecordCheck check = CheckHexRecord(program.lines[i]);
    Check(check.fault == HexFault::kNone && !check.end_record,
          "every line before the last is a data record");
  }
  const HexRecordCheck last = program.lines.empty() ? HexRecordCheck{HexFault::kEmptyFile}
                                                    : CheckHexRecord(program.lines.back());
  switch (program.fault) {
    case HexFault::kNone:
      Check(last.fault == HexFault::kNone && last.end_record,
            "a sound file ends at its end record");
      Check(program.fault_line == 0, "a sound file names no line");
      break;
    case HexFault::kEmptyFile:
      Check(lines.empty() && program.fault_line == 0, "only a file without lines is empty");
      break;
    case HexFault::kNoEndRecord:
      Check(program.lines.size() == lines.size() && !lines.empty(), "all lines were read");
      Check(last.fault == HexFault::kNone && !last.end_record, "the last line is a data record");
      Check(program.fault_line == 0, "a missing end record names no line");
      break;
    default:
      Check(last.fault == program.fault, "the fault is the last line's");
      Check(program.fault_line == static_cast<std::int32_t>(program.lines.size()),
            "the fault names the last line read");
      break;
  }
  for (const auto& line : program.lines) {
    if (CheckHexRecord(line).fault != HexFault::kNone) continue;
    Check(line.size() % 2 == 1 && line.size() >= 11 && line.front() == ':',
          "a record is ':' and whole byte pairs, at least five");
  }
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
    Check(line->find_first_of("\r\n") == std::string::npos, "a line holds no CR or LF");
    lines.push_back(std::move(*line));
    Check(lines.size() <= size, "never more lines than bytes");
  }
  Check(lines == ExpectedLines(bytes), "lines taken equal the lines in the file");
  Check(!file.NextLine(), "the end of the file stays the end");
  file.Close();
  Check(!file.IsOpen() && !file.NextLine(), "a closed file gives no lines");

  HexFile again(scratch.Write(bytes));
  CheckProgram(ReadHexProgram(again), lines);
  return 0;
}
