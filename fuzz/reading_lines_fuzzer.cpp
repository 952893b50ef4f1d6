// The reading loop's split of the board's stream into readings, and the code in each reading.
// The input is the stream; it is fed whole, byte by byte and in takes whose lengths its own bytes
// choose, with readings taken between takes, and every way must give the same readings.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/reading_lines.h"
#include "fuzz_check.h"

namespace korvane {
namespace {

constexpr std::size_t kLongestStream = 8192;

void TakeReadings(ReadingLines& lines, std::vector<std::string>& readings) {
  while (auto reading = lines.Next()) readings.push_back(std::move(*reading));
}

std::vector<std::string> ReadInTakes(std::string_view stream, bool byte_by_byte) {
  ReadingLines lines;
  std::vector<std::string> readings;
  std::size_t at = 0;
  while (at < stream.size()) {
    const std::size_t length = std::min<std::size_t>(
        byte_by_byte ? 1 : 1 + static_cast<unsigned char>(stream[at]) % 13u, stream.size() - at);
    lines.Append(stream.substr(at, length));
    at += length;
    if (byte_by_byte || stream[at - 1] != '0') TakeReadings(lines, readings);
  }
  TakeReadings(lines, readings);
  return readings;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void CheckConversionCode(std::string_view reading) {
  const std::int32_t code = ConversionCode(reading);
  Check(code >= 0 && code <= 0xFFFFFF, "a conversion code is within 24 bits");
  const std::string_view first = reading.substr(0, 6);
  if (first.size() == 6 && std::all_of(first.begin(), first.end(), IsHexDigit)) {
    Check(code == static_cast<std::int32_t>(std::stoul(std::string(first), nullptr, 16)),
          "six hex digits read as their value");
  }
  const std::size_t first_digit = first.find_first_not_of(" \t\n");
  if (first_digit == std::string_view::npos || !IsHexDigit(first[first_digit])) {
    Check(code == 0, "a reading without a leading digit reads as 0");
  }
}

}  // namespace
}  // namespace korvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size > kLongestStream) return -1;
  const std::string_view stream(reinterpret_cast<const char*>(data), size);
  ReadingLines whole;
  whole.Append(stream);
  std::vector<std::string> expected;
  TakeReadings(whole, expected);
  Check(expected.size() == static_cast<std::size_t>(std::count(stream.begin(), stream.end(), '\r')),
        "a CR ends every reading");
  for (const std::string& reading : expected) {
    Check(reading.size() <= ReadingLines::kKeptPerReading &&
              reading.find('\r') == std::string::npos && !reading.starts_with('\n'),
          "a reading holds no CR, no leading LF and at most the kept characters");
  }
  Check(ReadInTakes(stream, true) == expected, "bytes one at a time give the same readings");
  Check(ReadInTakes(stream, false) == expected, "takes of any length give the same readings");

  whole.Clear();
  whole.Append("\n123456\r");
  std::vector<std::string> taken;
  TakeReadings(whole, taken);
  Check(taken == std::vector<std::string>{"123456"}, "Clear forgets the unfinished reading");

  for (const std::string& reading : expected) CheckConversionCode(reading);
  return 0;
}
