#include "records/csv_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <string_view>
#include <vector>

#include "common/hex_digits.h"
#include "records/csv_format.h"

namespace korvane {

namespace {

constexpr std::int64_t kProgressEveryRows = 65536;
constexpr std::size_t kColumns = 5;
/// Longer than any header or row this program writes.
constexpr std::size_t kLongestLine = 4096;
/// Far beyond any run, and far from the end of the 64-bit range the row count is added to.
constexpr std::int64_t kLargestIndex = 1'000'000'000'000'000;

std::string AtLine(std::int64_t line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

template <typename Number>
bool ReadNumber(std::string_view text, Number& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size();
}

/// Splits `row` at its commas; false unless there are exactly five fields.
bool SplitRow(std::string_view row, std::array<std::string_view, kColumns>& fields) {
  std::size_t field = 0;
  for (;;) {
    const std::size_t comma = row.find(',');
    if (field == kColumns) return false;
    fields[field++] = row.substr(0, comma);
    if (comma == std::string_view::npos) break;
    row.remove_prefix(comma + 1);
  }
  return field == kColumns;
}

/// Checks one row; "" when good, else what is wrong with it.
std::string ReadRow(std::string_view row, std::int64_t expected_index,
                    const BlockSettings& settings, std::int64_t& index, std::int32_t& code) {
  std::array<std::string_view, kColumns> fields;
  if (!SplitRow(row, fields)) return "a row needs 5 comma-separated values";
  if (!ReadNumber(fields[0], index) || index < 1 || index > kLargestIndex) {
    return "the index is not a whole number from 1 to 10^15";
  }
  if (expected_index > 0 && index != expected_index) {
    return "the index is " + std::to_string(index) + " where " + std::to_string(expected_index) +
           " comes next: rows are missing or out of order";
  }
  double number = 0;
  if (!ReadNumber(fields[1], number)) return "the time is not a number";
  if (fields[2].size() != 6 || !HexValue(fields[2])) return "the code is not 6 hexadecimal digits";
  const std::int32_t raw = static_cast<std::int32_t>(*HexValue(fields[2]));
  if (!ReadNumber(fields[3], code) || code != SignedFromRaw(raw, settings.bipolar)) {
    return "the signed code does not match the hexadecimal code";
  }
  if (!ReadNumber(fields[4], number)) return "the value is not a number";
  return "";
}

}  // namespace

std::string ReadRecording(const std::filesystem::path& path, Recording& recording,
                          const std::function<bool(double)>& progress) {
  recording = Recording{};
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return "Cannot open " + path.string() + ": " + error.message() + ".";
  if (size > kLargestRecordingBytes) {
    return path.string() + " holds " + std::to_string(size) +
           " bytes, more than a recording can (4 GiB); it is not opened.";
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return "Cannot open " + path.string() + ".";
  return ReadRecording(file, size, path.string(), recording, progress);
}

std::string ReadRecording(std::istream& file, std::uintmax_t size, const std::string& name,
                          Recording& recording, const std::function<bool(double)>& progress) {
  recording = Recording{};
  const auto fault = [&name](std::int64_t line, const std::string& what) {
    return name + " cannot be opened: " + AtLine(line, what) + ".";
  };

  std::string line;
  std::vector<char> buffer(kLongestLine + 2);
  std::int64_t number = 0;
  std::uintmax_t bytes = 0;
  bool columns_seen = false;
  for (;;) {
    // Read with a bound, so that a file without line ends cannot fill the memory.
    file.getline(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto taken = static_cast<std::size_t>(file.gcount());
    if (taken == 0 && file.eof()) break;
    ++number;
    if (file.fail() && !file.eof()) {
      return fault(number, "longer than " + std::to_string(kLongestLine) + " characters");
    }
    const bool line_ended = !file.eof();
    line.assign(buffer.data(), line_ended ? taken - 1 : taken);
    bytes += taken;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 1) {
      if (line != kCsvMarker) {
        return fault(1,
                     "this is not a file of readings from this program (it does not start "
                     "with \"" +
                         std::string(kCsvMarker) + "\")");
      }
      continue;
    }
    if (!columns_seen) {
      if (line.starts_with("#")) {
        const std::size_t colon = line.find(": ");
        if (!line.starts_with("# ") || colon == std::string::npos) {
          return fault(number, "a header line is not \"# key: value\"");
        }
        recording.header.emplace_back(line.substr(2, colon - 2), line.substr(colon + 2));
        continue;
      }
      if (!SettingsFromLines(recording.header, recording.settings)) {
        return fault(number - 1, "a number in the header lines cannot be read");
      }
      if (line != CsvColumnRow(recording.settings.temperature)) {
        return fault(number, "the column names are not \"" +
                                 CsvColumnRow(recording.settings.temperature) + "\"");
      }
      columns_seen = true;
      continue;
    }
    if (line.empty() && line_ended) continue;
    if (!line_ended) return fault(number, "the file ends inside this row: it is cut short");
    if (static_cast<std::int64_t>(recording.codes.size()) >= kMostRecordingRows) {
      return fault(number, "more than " + std::to_string(kMostRecordingRows) + " rows");
    }
    const std::int64_t expected =
        recording.codes.empty() ? 0 : recording.first_index + std::ssize(recording.codes);
    std::int64_t index = 0;
    std::int32_t code = 0;
    const std::string wrong = ReadRow(line, expected, recording.settings, index, code);
    if (!wrong.empty()) return fault(number, wrong);
    if (recording.codes.empty()) recording.first_index = index;
    recording.codes.push_back(code);
    if (progress && number % kProgressEveryRows == 0 &&
        !progress(static_cast<double>(bytes) /
                  static_cast<double>(std::max<std::uintmax_t>(size, 1)))) {
      return "Opening " + name + " was stopped.";
    }
  }
  if (number == 0) return fault(1, "the file is empty");
  if (!columns_seen) return fault(number, "the file ends before the column names");
  if (recording.codes.empty()) return fault(number, "the file holds no readings");
  return "";
}

}  // namespace korvane

namespace korvane {

ShownRows ShownBlockOf(std::size_t rows, int block_length) {
  constexpr std::size_t kLongestBlock = 5000;
  std::size_t length = block_length >= 2 ? static_cast<std::size_t>(block_length) : rows;
  length = std::clamp<std::size_t>(length, 1, kLongestBlock);
  if (rows <= length) return {0, rows};
  return {(rows / length - 1) * length, length};
}

}  // namespace korvane
