// Replies from the board as the program reads them: the register value of a register read
// (LeadingHexValue on the reply's characters 5 and 6) and the boot firmware's answers to HEX lines
// (ReplyInTake). The input is one take of received text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/number_text.h"
#include "fuzz_check.h"
#include "link/board_link.h"
#include "loader/loader_reply.h"

namespace korvane {
namespace {

constexpr std::size_t kLongestTake = 4096;

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
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
    Check(whole == (first > second ? first : second),
          "a take split in two weighs as its heavier part");
  }
}

}  // namespace
}  // namespace korvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size > kLongestTake) return -1;
  const std::string_view take(reinterpret_cast<const char*>(data), size);
  CheckLeadingHexValue(take);
  CheckReplyInTake(take);
  return 0;
}
