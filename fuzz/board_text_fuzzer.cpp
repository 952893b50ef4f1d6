// Text from the board as the program reads it. The input is received text: the reading loop
// splits it into readings (fed whole, byte by byte and in takes whose lengths its own bytes
// choose, every way giving the same readings) and reads each one's code; taken as one reply, it
// gives a register value (LeadingHexValue) and the boot firmware's answer to a HEX line
// (ReplyInTake).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/reading_lines.h"
#include "common/number_text.h"
#include "fuzz_check.h"
#include "link/board_link.h"
#include "loader/loader_reply.h"

namespace korvane {
namespace {

constexpr std::size_t kLongestText = 8192;

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

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

void CheckReadings(std::string_view stream) {
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
    const std::int32_t code = ConversionCode(reading);
    Check(code >= 0 && code <= 0xFFFFFF, "a conversion code is within 24 bits");
    const std::string_view first = std::string_view(reading).substr(0, 6);
    if (first.size() == 6 && std::all_of(first.begin(), first.end(), IsHexDigit)) {
      Check(code == static_cast<std::int32_t>(std::stoul(std::string(first), nullptr, 16)),
            "six hex digits read as their value");
    }
    const std::size_t first_digit = first.find_first_not_of(" \t\n");
    if (first_digit == std::string_view::npos || !IsHexDigit(first[first_digit])) {
      Check(code == 0, "a reading without a leading digit reads as 0");
    }
  }
  Check(ReadInTakes(stream, true) == expected, "bytes one at a time give the same readings");
  Check(ReadInTakes(stream, false) == expected, "takes of any length give the same readings");

  whole.Clear();
  whole.Append("\n123456\r");
  std::vector<std::string> taken;
  TakeReadings(whole, taken);
  Check(taken == std::vector<std::string>{"123456"}, "Clear forgets the unfinished reading");
}

void CheckLeadingHexValue(std::string_view take) {
  const std::int32_t value = LeadingHexValue(take);
  std::size_t digits = 0;
  while (digits < take.size() && digits < 7 && IsHexDigit(take[digits])) ++digits;
  Check(value >= 0 && value < (std::int32_t{1} << (4 * digits)),
        "the value has no more digits than the text");
  // A register read: the reply echoes "RRrr", then the register's two digits.
  if (take.size() > 4) {
    const std::int32_t sfr = LeadingHexValue(take.substr(4, 2));
    Check(sfr >= 0 && sfr <= 0xFF, "a register read gives one byte");
  }
  const int word = static_cast<int>(value & 0xFFFF);
  Check(LeadingHexValue(Hex2(word)) == word, "Hex2 text reads back");
}

/// Weight of a reply letter when several come in one take: the enum lists them by weight.
int Weight(LoaderReply reply) {
  const int weight = static_cast<int>(reply);
  Check(weight >= 0 && weight <= static_cast<int>(LoaderReply::kFinished),
        "a loader reply is one of the enum's values");
  return weight;
}

void CheckReplyInTake(std::string_view take) {
  const int whole = Weight(ReplyInTake(take));
  Check((whole == 0) == (take.find_first_of(".XET") == std::string_view::npos),
        "no reply letter means no reply");
  for (const std::size_t cut :
       {take.size() / 2, take.size() / 3, std::min<std::size_t>(take.size(), 1)}) {
    const int first = Weight(ReplyInTake(take.substr(0, cut)));
    const int second = Weight(ReplyInTake(take.substr(cut)));
    Check(whole == std::max(first, second), "a take split in two weighs as its heavier part");
  }
}

}  // namespace
}  // namespace korvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size > kLongestText) return -1;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckReadings(text);
  CheckLeadingHexValue(text);
  CheckReplyInTake(text);
  return 0;
}
