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

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

/// Distance from |value| to the next double away from zero.
double Ulp(double value) {
  const double magnitude = std::fabs(value);
  return std::nextafter(magnitude, std::numeric_limits<double>::infinity()) - magnitude;
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
  if (!std::isfinite(value)) {
    Check(Same(whole, value), "infinities pass through the rounding");
  } else {
    Check(whole == std::floor(whole), "rounding gives a whole number");
    const double distance = std::fabs(whole - value);
    Check(distance <= 0.5, "rounding moves by at most one half");
    if (distance == 0.5) Check(std::fmod(whole, 2.0) == 0, "halves round to even");
    Check(Same(RoundHalfEven(value, 0), whole), "rounding to 0 decimals rounds to whole");
  }
  for (const Range& range : kRanges) {
    const std::optional<std::int64_t> in_range = RoundedInRange(value, range.lo, range.hi);
    const std::int64_t clamped = RoundClamped(value, range.lo, range.hi);
    Check(clamped >= range.lo && clamped <= range.hi, "RoundClamped stays in its range");
    if (in_range) {
      Check(*in_range >= range.lo && *in_range <= range.hi, "RoundedInRange stays in its range");
      Check(static_cast<double>(*in_range) == whole, "RoundedInRange gives the rounded value");
      Check(clamped == *in_range, "RoundClamped agrees inside the range");
    } else if (std::isfinite(value)) {
      const bool below = whole < static_cast<double>(range.lo);
      Check(below || whole >= static_cast<double>(range.hi), "only values outside are refused");
      Check(clamped == (below ? range.lo : range.hi), "RoundClamped clamps to the near end");
    } else {
      Check(clamped == (value < 0 ? range.lo : range.hi), "infinities clamp to their end");
    }
  }
}

/// Count of significant digits in the mantissa of a GeneralText text.
std::size_t SignificantDigits(std::string_view mantissa) {
  std::size_t count = 0;
  bool started = false;
  for (const char c : mantissa) {
    if (!IsDigit(c)) continue;
    started = started || c != '0';
    if (started) ++count;
  }
  return count;
}

void CheckGeneralText(double value) {
  const std::string text = GeneralText(value);
  if (std::isnan(value)) {
    Check(text == "NaN", "NaN reads \"NaN\"");
    return;
  }
  if (std::isinf(value)) {
    Check(text == (value < 0 ? "-Infinity" : "Infinity"), "infinities read \"Infinity\"");
    return;
  }
  Check(!text.empty() && text != "-0", "zero has no sign");
  const std::string_view mantissa = std::string_view(text).substr(0, text.find('E'));
  Check(SignificantDigits(mantissa) <= 15, "at most 15 significant digits");
  if (mantissa.find('.') != std::string_view::npos) {
    Check(mantissa.back() != '0' && mantissa.back() != '.', "no trailing zeros");
  }
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
  const auto places = static_cast<std::size_t>(decimals);
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
  const std::size_t point = digits.find('.');
  const std::string_view whole = digits.substr(0, point);
  Check(!whole.empty(), "at least one integer digit");
  Check(whole.size() == 1 || whole.front() != '0', "no leading zeros");
  for (const char c : whole) Check(IsDigit(c), "the integer part is digits");
  if (places == 0) {
    Check(point == std::string_view::npos, "no point without decimals");
  } else {
    Check(point != std::string_view::npos && digits.size() - point - 1 == places,
          "exactly the asked number of decimals");
    for (const char c : digits.substr(point + 1)) Check(IsDigit(c), "the decimals are digits");
  }
  const double rounded = RoundHalfEven(value, decimals);
  const double read_back = ValFromText(text);
  Check(read_back == rounded, "the fixed text shows the rounded value");
  if (text.front() == '-') Check(read_back != 0, "\"-0.000\" never appears");
  const double step = std::pow(10.0, -decimals);
  Check(std::isinf(rounded) ||
            std::fabs(rounded - value) <= 0.5 * step * (1 + 1e-12) + 4 * Ulp(value),
        "rounding moves by at most half the last place");
}

void CheckValue(double value) {
  CheckRounding(value);
  CheckGeneralText(value);
  if (!std::isfinite(value)) return;
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
