// Numbers typed into text boxes and command-line words, and the rounding and text forms that
// take the value read.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "common/number_text.h"
#include "fuzz_check.h"

namespace korvane {
namespace {

constexpr std::size_t kLongestText = 1024;
constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();

struct Range {
  std::int64_t lo;
  std::int64_t hi;
};

/// The ranges the program rounds typed numbers into (ports, 16-bit words, block lengths, offset
/// DAC steps, decimation) and the whole int64 range.
constexpr Range kRanges[] = {{1, 256},    {-32768, 32767}, {2, 5000},
                             {-128, 127}, {1, 2047},       {kMin64, kMax64}};

constexpr int kDecimals[] = {0, 1, 2, 3, 4, 6, 9, 15, 20};
/// Places that reach the smallest doubles: only for tiny values, whose texts stay short.
constexpr int kTinyDecimals[] = {300, 320, 323, 324, 330, 400};
constexpr double kTiny = 1e-280;

/// Equal values with equal signs (a zero's sign counts).
bool Same(double a, double b) {
  return a == b && std::signbit(a) == std::signbit(b);
}

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

void CheckTypedValue(double value) {
  Check(!std::isnan(value), "a typed number is never NaN");
  Check(!Same(value, -0.0), "a typed number is never a negative zero");
}

void CheckValFromText(std::string_view text, double value) {
  CheckTypedValue(value);
  Check(Same(ValFromText(std::string(text) + "x"), value),
        "a letter after the number does not change it");
  const std::string_view start = SkipBlanks(text);
  if (start.size() >= 2 && start[0] == '&' && (start[1] == 'H' || start[1] == 'h')) {
    Check(value >= 0 && (std::isinf(value) || value == std::floor(value)),
          "&H reads a whole unsigned number");
    return;
  }
  if (start.empty() || start[0] == '+' || start[0] == '-' || start[0] == '&') return;
  Check(Same(ValFromText("+" + std::string(start)), value), "a plus sign keeps the value");
  const double negated = ValFromText("-" + std::string(start));
  Check(value == 0 ? Same(negated, 0.0) : Same(negated, -value), "a minus sign negates");
}

void CheckValFromCommandWord(std::string_view text, double typed) {
  const double value = ValFromCommandWord(text);
  CheckTypedValue(value);
  if (text.find_first_of(" \t\r\n") == std::string_view::npos) {
    Check(Same(value, typed), "a word without blanks reads as in a text box");
  }
  const std::size_t middle = text.size() / 2;
  std::string spread = "\r\n ";
  spread += text.substr(0, middle);
  spread += " \t";
  spread += text.substr(middle);
  spread += "\n";
  Check(Same(ValFromCommandWord(spread), value), "blanks inside a command word are ignored");
}

void CheckRounding(double value) {
  const double whole = RoundHalfEven(value);
  const double distance = std::fabs(whole - value);
  Check(!std::isfinite(value) || (whole == std::floor(whole) && distance <= 0.5),
        "rounding moves to a whole number within 1/2");
  if (distance == 0.5) Check(std::fmod(whole, 2.0) == 0, "halves round to even");
  for (const Range& range : kRanges) {
    const std::optional<std::int64_t> in_range = RoundedInRange(value, range.lo, range.hi);
    const std::int64_t clamped = RoundClamped(value, range.lo, range.hi);
    if (in_range) {
      Check(*in_range == clamped && static_cast<double>(clamped) == whole,
            "inside its range both give the rounded value");
    } else {
      const bool below = whole < static_cast<double>(range.lo);
      Check((below || whole >= static_cast<double>(range.hi)) &&
                clamped == (below ? range.lo : range.hi),
            "only values outside are refused, and clamped to the near end");
    }
  }
}

void CheckGeneralText(double value) {
  const std::string text = GeneralText(value);
  Check(text != "-0", "zero has no sign");
  const double read_back = ValFromText(text);
  if (std::isinf(read_back)) {
    Check(std::fabs(value) > 1.797693134862310e308 && (read_back < 0) == (value < 0),
          "only the largest values read back as infinity");
  } else {
    Check(std::fabs(read_back - value) <= 1e-14 * std::fabs(value),
          "the text reads back to the value within 15 digits");
  }
}

void CheckFixedText(double value, int decimals) {
  const std::string text = FixedText(value, decimals);
  const std::size_t point = text.find('.');
  Check(
      decimals == 0 ? point == std::string::npos : text.size() - point - 1 == std::size_t(decimals),
      "exactly the asked number of decimals");
  const double read_back = ValFromText(text);
  Check(read_back == RoundHalfEven(value, decimals), "the fixed text shows the rounded value");
  Check(text.front() != '-' || read_back != 0, "\"-0.000\" never appears");
}

void CheckValue(double value) {
  CheckRounding(value);
  if (!std::isfinite(value)) return;
  CheckGeneralText(value);
  for (const int decimals : kDecimals) CheckFixedText(value, decimals);
  if (value == 0 || std::fabs(value) >= kTiny) return;
  for (const int decimals : kTinyDecimals) CheckFixedText(value, decimals);
}

}  // namespace
}  // namespace korvane

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  if (size > kLongestText) return -1;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double typed = ValFromText(text);
  CheckValFromText(text, typed);
  CheckValFromCommandWord(text, typed);
  CheckValue(typed);
  CheckValue(-typed);
  return 0;
}
